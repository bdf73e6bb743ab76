// Helpers of the resource tests: whole files in and out, and the carried content.
#pragma once
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::vector<uint8_t> ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool WriteHostFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out);
}

inline std::vector<uint8_t> Content(const std::string& name) {
  return ReadHostFile(std::string(VESSORA_CONTENT) + "/" + name);
}

// Every file the payload is made from, with the item it becomes.
struct PayloadFile {
  const char* item;
  const char* file;
};
inline const std::vector<PayloadFile>& PayloadFiles() {
  static const std::vector<PayloadFile> files = {
      {"VSQQUOR.DI_", "vsqquor.dic"},   {"QVLUNVERA.DO_", "qvlunvera.dot"},  {"README.HT_", "Readme.htm"},
      {"FENMOOR.GI_", "Fenmoor.gif"},   {"VESSORA.JP_", "Vessora.jpg"},      {"LUNVERA.DI_", "Lunvera.dic"},
      {"VSQUNI.DI_", "vsquni.dic"},     {"VSQ.DO_", "vsq.dot"},              {"VSQAUTO1.DO_", "vsqauto1.dot"},
      {"VSQAUTO2.DO_", "vsqauto2.dot"}, {"VSQAUTO3.DO_", "vsqauto3.dot"},    {"UNICODE.GI_", "unicode.gif"},
      {"VOWELCONVRT.GI_", "vowelconvrt.gif"}, {"ASCII.GI_", "ascii.gif"},
  };
  return files;
}
