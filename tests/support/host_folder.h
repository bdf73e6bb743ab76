// A fresh host folder under /tmp for one test, removed with everything in it afterwards.
#pragma once
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class HostFolder {
 public:
  HostFolder() {
    char pattern[] = "/tmp/vessora-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    path = made != nullptr ? made : "";
  }
  ~HostFolder() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }
  HostFolder(const HostFolder&) = delete;
  HostFolder& operator=(const HostFolder&) = delete;

  const std::string& Path() const { return path; }
  // Host path of a relative name inside the folder ("a/b").
  std::string operator/(const std::string& relative) const { return path + "/" + relative; }

  // Makes a folder (and its parents) below this one.
  void MakeFolder(const std::string& relative) const { std::filesystem::create_directories(*this / relative); }
  // Writes a file below this one, making its folders.
  void WriteFile(const std::string& relative, const std::string& content) const {
    std::filesystem::path file(*this / relative);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
  }
  bool Exists(const std::string& relative) const { return std::filesystem::exists(*this / relative); }
  std::string ReadFile(const std::string& relative) const {
    std::ifstream in(*this / relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::string path;
};
