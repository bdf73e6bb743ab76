// A shell link file read back by the published Shell Link layout, independently of the code that wrote it.
#pragma once
#include <cstdint>
#include <string>

namespace link_file {

inline uint32_t U32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
  return value;
}
inline uint16_t U16(const std::string& bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(bytes.at(at)) |
                               static_cast<unsigned char>(bytes.at(at + 1)) << 8);
}

// The fields of a link file a reader looks at, read by the published layout.
struct LinkFields {
  uint32_t headerSize = 0, flags = 0, attributes = 0, fileSize = 0;
  std::string clsid, localBasePath, localBasePathUnicode, description;
  bool whole = false;  // the file ends where its layout says
};

// Throws std::out_of_range on a file cut short.
inline LinkFields ReadLink(const std::string& bytes) {
  LinkFields link;
  link.headerSize = U32(bytes, 0);
  link.clsid = bytes.substr(4, 16);
  link.flags = U32(bytes, 20);
  link.attributes = U32(bytes, 24);
  link.fileSize = U32(bytes, 52);
  size_t at = link.headerSize;
  if (link.flags & 0x1) at += 2 + U16(bytes, at);  // an item list we do not expect
  if (link.flags & 0x2) {
    size_t info = at;
    uint32_t size = U32(bytes, info);
    link.localBasePath = std::string(bytes.c_str() + info + U32(bytes, info + 16));
    if (U32(bytes, info + 4) >= 0x24) {
      for (size_t w = info + U32(bytes, info + 28); U16(bytes, w) != 0; w += 2)
        link.localBasePathUnicode.push_back(static_cast<char>(U16(bytes, w) & 0xFF));
    }
    at += size;
  }
  if (link.flags & 0x4) {
    uint16_t count = U16(bytes, at);
    for (uint16_t i = 0; i < count; ++i) link.description.push_back(static_cast<char>(U16(bytes, at + 2 + 2 * i)));
    at += 2 + 2 * count;
  }
  link.whole = bytes.size() == at + 4;  // a terminal block ends the file
  return link;
}

}  // namespace link_file

using link_file::LinkFields;
using link_file::ReadLink;
