// Helpers of the resource tests: whole files in and out, and the carried content.
#pragma once
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "install/install_table.h"

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

// Every compressed item of the install table, with the content file it is made from.
struct PayloadFile {
  const char* item;
  const char* file;
};
inline const std::vector<PayloadFile>& PayloadFiles() {
  static const std::vector<PayloadFile> files = [] {
    std::vector<PayloadFile> list;
    for (int i = 0; i < kInstallTableRows; ++i) {
      const InstallRow& row = kInstallTable[i];
      bool seen = false;
      for (const PayloadFile& file : list) seen = seen || std::string(file.item) == row.itemName;
      if (!seen && row.itemName[std::strlen(row.itemName) - 1] == '_') list.push_back({row.itemName, row.fileName});
    }
    return list;
  }();
  return files;
}
