// szdd: compresses files into the SZDD format, expands them and describes them.
//   szdd compress IN OUT [CHAR]   CHAR: the character the name's underscore replaces
//                                 (default: the last character of IN's extension)
//   szdd expand IN OUT
//   szdd info IN
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "resources/szdd_decoder.h"
#include "resources/szdd_encoder.h"
#include "resources/szdd_format.h"

namespace {

bool ReadWholeFile(const char* path, std::vector<uint8_t>* bytes) {
  FILE* f = std::fopen(path, "rb");
  if (f == nullptr) {
    std::fprintf(stderr, "szdd: cannot open %s: %s\n", path, std::strerror(errno));
    return false;
  }
  bytes->clear();
  uint8_t chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes->insert(bytes->end(), chunk, chunk + n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  if (!ok) std::fprintf(stderr, "szdd: cannot read %s\n", path);
  return ok;
}

bool WriteWholeFile(const char* path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path, "wb");
  if (f == nullptr) {
    std::fprintf(stderr, "szdd: cannot create %s: %s\n", path, std::strerror(errno));
    return false;
  }
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) std::fprintf(stderr, "szdd: cannot write %s\n", path);
  return ok;
}

// The character a compressed name's underscore stands for: the last one of the
// original name's extension, or none when the name has no extension.
char ReplacedCharOf(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || dot + 1 >= name.size()) return 0;
  return name.back();
}

int Usage() {
  std::fprintf(stderr,
               "usage: szdd compress IN OUT [CHAR]\n"
               "       szdd expand IN OUT\n"
               "       szdd info IN\n");
  return 2;
}

// Checks that data is an SZDD file this tool can expand; explains why not otherwise.
bool CheckCompressed(const char* path, const std::vector<uint8_t>& data, SzddHeader* header) {
  if (!HasSzddSignature(data.data(), data.size())) return true;  // plain: passes through
  if (!ReadSzddHeader(data.data(), data.size(), header)) {
    std::fprintf(stderr, "szdd: %s: SZDD header cut short (%zu of %zu bytes)\n", path, data.size(),
                 kSzddHeaderSize);
    return false;
  }
  if (header->method != kSzddMethodA) {
    std::fprintf(stderr, "szdd: %s: unknown compression method 0x%02X\n", path, header->method);
    return false;
  }
  return true;
}

int Compress(int argc, char** argv) {
  if (argc != 4 && argc != 5) return Usage();
  char replaced = ReplacedCharOf(argv[2]);
  if (argc == 5) {
    if (std::strlen(argv[4]) != 1) {
      std::fprintf(stderr, "szdd: the replaced character must be one character, not \"%s\"\n", argv[4]);
      return 2;
    }
    replaced = argv[4][0];
  }
  std::vector<uint8_t> data, packed;
  if (!ReadWholeFile(argv[2], &data)) return 1;
  if (!CompressSzdd(data.data(), data.size(), replaced, &packed)) {
    std::fprintf(stderr, "szdd: %s: too large for the SZDD length field\n", argv[2]);
    return 1;
  }
  return WriteWholeFile(argv[3], packed) ? 0 : 1;
}

int Expand(int argc, char** argv) {
  if (argc != 4) return Usage();
  std::vector<uint8_t> data, expanded;
  SzddHeader header;
  if (!ReadWholeFile(argv[2], &data) || !CheckCompressed(argv[2], data, &header)) return 1;
  bool compressed = HasSzddSignature(data.data(), data.size());
  ExpandSzdd(data.data(), data.size(), &expanded, &header);
  if (!WriteWholeFile(argv[3], expanded)) return 1;
  if (compressed && expanded.size() != header.expandedLength) {
    std::fprintf(stderr, "szdd: %s: expanded to %zu bytes, but the header says %u\n", argv[2], expanded.size(),
                 header.expandedLength);
    return 1;
  }
  return 0;
}

int Info(int argc, char** argv) {
  if (argc != 3) return Usage();
  std::vector<uint8_t> data, expanded;
  SzddHeader header;
  if (!ReadWholeFile(argv[2], &data) || !CheckCompressed(argv[2], data, &header)) return 1;
  if (!HasSzddSignature(data.data(), data.size())) {
    std::printf("%s: not SZDD (plain, %zu bytes)\n", argv[2], data.size());
    return 0;
  }
  ExpandSzdd(data.data(), data.size(), &expanded, &header);
  std::printf("%s: SZDD, method %c\n", argv[2], header.method);
  if (header.replacedChar >= 0x20 && header.replacedChar < 0x7F)
    std::printf("  replaced character: '%c'\n", header.replacedChar);
  else
    std::printf("  replaced character: 0x%02X\n", static_cast<uint8_t>(header.replacedChar));
  std::printf("  stored bytes:   %zu\n  header length:  %u\n  expanded bytes: %zu\n", data.size(),
              header.expandedLength, expanded.size());
  if (expanded.size() != header.expandedLength) {
    std::fprintf(stderr, "szdd: %s: expands to %zu bytes, but the header says %u\n", argv[2], expanded.size(),
                 header.expandedLength);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string command = argv[1];
  if (command == "compress") return Compress(argc, argv);
  if (command == "expand") return Expand(argc, argv);
  if (command == "info") return Info(argc, argv);
  return Usage();
}
