// The szdd command: compress, expand and info, with clear failures on bad input.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/szdd_format.h"
#include "tests/resources/test_files.h"
#include "tests/support/host_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct ToolRun {
  int status;
  std::string output;  // standard output and error together
};

ToolRun Szdd(const std::string& arguments) {
  std::string command = std::string(VESSORA_SZDD) + " " + arguments + " 2>&1";
  ToolRun run{-1, ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char chunk[256];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) run.output.append(chunk, n);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class SzddToolTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) { return folder / name; }
  HostFolder folder;
};

TEST_F(SzddToolTest, CompressesAndExpandsWithTheReplacedCharacterAndPassesPlainFilesThrough) {
  std::string original = std::string(VESSORA_CONTENT) + "/Readme.htm";
  EXPECT_EQ(Szdd("compress " + original + " " + Path("README.HT_")).status, 0);
  Bytes packed = ReadHostFile(Path("README.HT_"));
  SzddHeader header;
  ASSERT_TRUE(ReadSzddHeader(packed.data(), packed.size(), &header));
  EXPECT_EQ(header.replacedChar, 'm');
  EXPECT_EQ(header.expandedLength, 7227u);
  EXPECT_EQ(Szdd("compress " + original + " " + Path("OTHER.HT_") + " Q").status, 0);
  EXPECT_EQ(ReadHostFile(Path("OTHER.HT_"))[9], 'Q');

  EXPECT_EQ(Szdd("expand " + Path("README.HT_") + " " + Path("Readme.htm")).status, 0);
  EXPECT_EQ(ReadHostFile(Path("Readme.htm")), Content("Readme.htm"));
  ToolRun info = Szdd("info " + Path("README.HT_"));
  EXPECT_EQ(info.status, 0);
  EXPECT_NE(info.output.find("replaced character: 'm'"), std::string::npos) << info.output;
  EXPECT_NE(info.output.find("expanded bytes: 7227"), std::string::npos) << info.output;

  // Files that are not SZDD expand unchanged.
  original = std::string(VESSORA_CONTENT) + "/License.txt";
  EXPECT_EQ(Szdd("expand " + original + " " + Path("copy")).status, 0);
  EXPECT_EQ(ReadHostFile(Path("copy")), Content("License.txt"));
  EXPECT_NE(Szdd("info " + original).output.find("not SZDD"), std::string::npos);
}

TEST_F(SzddToolTest, ReportsBadInputAndFails) {
  ASSERT_EQ(Szdd("compress " + std::string(VESSORA_CONTENT) + "/License.txt " + Path("L._")).status, 0);
  Bytes packed = ReadHostFile(Path("L._"));
  Bytes length = packed, method = packed;
  length[10] ^= 1;
  method[8] = 'B';
  WriteHostFile(Path("length._"), length);
  WriteHostFile(Path("cut._"), Bytes(packed.begin(), packed.begin() + 10));
  WriteHostFile(Path("method._"), method);
  std::vector<std::pair<std::string, std::string>> failures = {
      {"squash a b", "usage"},
      {"expand " + Path("none") + " " + Path("out"), "cannot open"},
      {"compress " + Path("none") + " " + Path("out") + " XY", "the replaced character must be one character"}};
  for (const auto& [file, says] : {std::pair<std::string, std::string>{"length._", "header says"},
                                   {"cut._", "cut short"}, {"method._", "unknown compression method"}}) {
    failures.push_back({"expand " + Path(file) + " " + Path("bad"), says});
    failures.push_back({"info " + Path(file), says});
  }
  for (const auto& [arguments, says] : failures) {
    ToolRun run = Szdd(arguments);
    EXPECT_NE(run.status, 0) << arguments;
    EXPECT_NE(run.output.find(says), std::string::npos) << arguments << ": " << run.output;
  }
}

}  // namespace
