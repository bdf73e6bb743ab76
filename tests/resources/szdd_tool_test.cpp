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
  auto with = [&packed](size_t at, uint8_t value) {
    Bytes changed = packed;
    changed[at] = value;
    return changed;
  };
  const std::pair<Bytes, const char*> bad[] = {{with(10, packed[10] ^ 1), "header says"},  // the length
                                               {Bytes(packed.begin(), packed.begin() + 10), "cut short"},
                                               {with(8, 'B'), "unknown compression method"}};
  for (const auto& [bytes, says] : bad) {
    WriteHostFile(Path("bad._"), bytes);
    ToolRun run = Szdd("expand " + Path("bad._") + " " + Path("bad"));
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find(says), std::string::npos) << run.output;
    EXPECT_NE(Szdd("info " + Path("bad._")).status, 0) << says;
  }
}

TEST_F(SzddToolTest, PlainFilesExpandUnchanged) {
  std::string original = std::string(VESSORA_CONTENT) + "/License.txt";
  EXPECT_EQ(Szdd("expand " + original + " " + Path("copy")).status, 0);
  EXPECT_EQ(ReadHostFile(Path("copy")), Content("License.txt"));
  EXPECT_NE(Szdd("info " + original).output.find("not SZDD"), std::string::npos);
}

}  // namespace
