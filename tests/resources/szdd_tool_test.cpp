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

TEST_F(SzddToolTest, CompressesAndExpandsWithTheReplacedCharacter) {
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
}

TEST_F(SzddToolTest, ReportsBadInputAndFails) {
  ToolRun usage = Szdd("squash a b");
  EXPECT_NE(usage.status, 0);
  EXPECT_NE(usage.output.find("usage"), std::string::npos);
  ToolRun missing = Szdd("expand " + Path("none") + " " + Path("out"));
  EXPECT_NE(missing.status, 0);
  EXPECT_NE(missing.output.find("cannot open"), std::string::npos);
  EXPECT_NE(Szdd("compress " + Path("none") + " " + Path("out") + " XY").status, 0);

  std::string original = std::string(VESSORA_CONTENT) + "/License.txt";
  ASSERT_EQ(Szdd("compress " + original + " " + Path("L._")).status, 0);
  Bytes packed = ReadHostFile(Path("L._"));

  Bytes wrongLength = packed;
  wrongLength[10] ^= 1;
  WriteHostFile(Path("wrong._"), wrongLength);
  ToolRun differs = Szdd("expand " + Path("wrong._") + " " + Path("wrong"));
  EXPECT_NE(differs.status, 0);
  EXPECT_NE(differs.output.find("header says"), std::string::npos) << differs.output;
  EXPECT_NE(Szdd("info " + Path("wrong._")).status, 0);

  Bytes cut(packed.begin(), packed.begin() + 10);
  WriteHostFile(Path("cut._"), cut);
  ToolRun shortHeader = Szdd("expand " + Path("cut._") + " " + Path("cut"));
  EXPECT_NE(shortHeader.status, 0);
  EXPECT_NE(shortHeader.output.find("cut short"), std::string::npos) << shortHeader.output;

  Bytes method = packed;
  method[8] = 'B';
  WriteHostFile(Path("method._"), method);
  ToolRun unknown = Szdd("expand " + Path("method._") + " " + Path("method"));
  EXPECT_NE(unknown.status, 0);
  EXPECT_NE(unknown.output.find("unknown compression method"), std::string::npos) << unknown.output;
}

TEST_F(SzddToolTest, PlainFilesExpandUnchanged) {
  std::string original = std::string(VESSORA_CONTENT) + "/License.txt";
  EXPECT_EQ(Szdd("expand " + original + " " + Path("copy")).status, 0);
  EXPECT_EQ(ReadHostFile(Path("copy")), Content("License.txt"));
  EXPECT_NE(Szdd("info " + original).output.find("not SZDD"), std::string::npos);
}

}  // namespace
