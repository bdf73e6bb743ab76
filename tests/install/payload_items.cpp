#include "payload_items.h"

#include <fstream>
#include <map>
#include <sstream>

namespace {

// The item names of the install table and the content files they are made from.
const std::map<std::string, std::string> kContentFiles = {
    {"LUNVERA.DI_", "Lunvera.dic"},     {"VSQUNI.DI_", "vsquni.dic"},         {"VSQ.DO_", "vsq.dot"},
    {"VSQAUTO1.DO_", "vsqauto1.dot"},   {"VSQAUTO2.DO_", "vsqauto2.dot"},     {"VSQAUTO3.DO_", "vsqauto3.dot"},
    {"UNICODE.GI_", "unicode.gif"},     {"VOWELCONVRT.GI_", "vowelconvrt.gif"}, {"ASCII.GI_", "ascii.gif"},
    {"VSQQUOR.DI_", "vsqquor.dic"},     {"QVLUNVERA.DO_", "qvlunvera.dot"},   {"README.HT_", "Readme.htm"},
    {"FENMOOR.GI_", "Fenmoor.gif"},     {"VESSORA.JP_", "Vessora.jpg"},       {"LICENSE.TXT", "License.txt"},
};

}  // namespace

const std::string& ExpandedContent(const std::string& itemName) {
  static std::map<std::string, std::string> cache;
  static const std::string none;
  auto known = kContentFiles.find(itemName);
  if (known == kContentFiles.end()) return none;
  auto cached = cache.find(itemName);
  if (cached != cache.end()) return cached->second;
  std::ifstream in(std::string(VESSORA_CONTENT) + "/" + known->second, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return cache[itemName] = bytes.str();
}

const ResourceTable& EditionTable(Edition edition) {
  switch (edition) {
    case EditionProfessional:
      return ProfessionalResources();
    case EditionQuorvel:
      return QuorvelResources();
    default:
      return StandardResources();
  }
}

const char* EditionName(Edition edition) {
  switch (edition) {
    case EditionProfessional:
      return "Professional";
    case EditionQuorvel:
      return "Quorvel";
    default:
      return "Standard";
  }
}
