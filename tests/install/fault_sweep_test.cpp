// Every creation and every write of a whole install fails in turn. Whatever fails, the
// install must not crash, must not call a missing or short file installed, must not
// register a file that is not there whole, must leave no temporary or stray file and no
// open handle, and must not report success unless everything is in place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>

#include "install/install_sequence.h"
#include "install/install_table.h"
#include "tests/support/test_machine.h"

namespace {

// The pieces a dictionary splits into: whole blocks up to 64768 bytes, then on to the next line feed.
std::vector<std::string> ReferencePieces(const std::string& data) {
  const size_t kBlocks = 64768;
  std::vector<std::string> pieces;
  for (size_t at = 0;;) {
    size_t end = std::min(at + kBlocks, data.size());
    bool last = end - at < kBlocks || end == data.size();
    if (!last) {
      size_t feed = data.find('\n', end);
      last = feed == std::string::npos;
      end = last ? data.size() : feed + 1;
    }
    pieces.push_back(data.substr(at, end - at));
    if (last) return pieces;
    at = end;
  }
}

// Whether text ends in end with something before it.
bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

// What a file of this name must hold once installed; false for a name the install never writes.
bool ExpectedContent(const std::string& name, std::string* content) {
  for (int row = 0; row < kInstallTableRows; ++row) {
    const InstallRow& item = kInstallTable[row];
    if (name == item.fileName) {
      *content = ExpandedContent(item.itemName);
      return true;
    }
    if (item.piecePrefix == nullptr || name.compare(0, std::strlen(item.piecePrefix), item.piecePrefix) != 0) continue;
    std::vector<std::string> pieces = ReferencePieces(ExpandedContent(item.itemName));
    for (size_t n = 1; n <= pieces.size(); ++n) {
      if (name != item.piecePrefix + std::to_string(n) + ".dic") continue;
      *content = pieces[n - 1];
      return true;
    }
  }
  return false;
}

struct Setup {
  Edition edition;
  const char* scenario;
};
void PrintTo(const Setup& setup, std::ostream* out) { *out << EditionName(setup.edition) << " with " << setup.scenario; }

std::set<std::string> Entries(TestMachine* world) {
  std::set<std::string> all;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    for (const std::string& entry : world->DictionaryEntries(root))
      all.insert(std::to_string(reinterpret_cast<uintptr_t>(root)) + ":" + entry);
  return all;
}

// Runs one install with the given fault and checks everything the install claims. complete: the files the
// install without faults wrote (that run, the first, fills it). True when the install reported full success.
bool InstallAndCheck(const Setup& setup, int failCreate, int failWrite, std::set<std::string>* complete, int* creates,
                     int* writes) {
  TestMachine world(setup.edition);
  [&] {  // a lambda, so that a scenario that does not load is a fatal failure that ends the sweep
    ASSERT_TRUE(world.Prepare(setup.scenario, {"C:\\Dict", "C:\\Program Files",
                                               "C:\\WINDOWS\\Application Data\\Microsoft\\Templates",
                                               "C:\\WINDOWS\\Application Data\\Microsoft\\Word\\STARTUP",
                                               "C:\\Program Files\\Microsoft Office\\Templates",
                                               "C:\\Program Files\\Microsoft Office\\Office\\STARTUP"}));
  }();
  std::set<std::string> before = Entries(&world);
  world.faulty.FailCreate(failCreate);
  world.faulty.FailWrite(failWrite);
  bool ran = world.Install("C:\\Dict");
  if (creates != nullptr) *creates = world.faulty.Creates();
  if (writes != nullptr) *writes = world.faulty.Writes();
  world.faulty.FailCreate(0);
  world.faulty.FailWrite(0);

  EXPECT_TRUE(world.TempFilesLeft().empty());
  EXPECT_EQ(world.files.OpenHandleCount(), 0u);
  EXPECT_EQ(world.registry.OpenKeyCount(), 0u);
  EXPECT_EQ(world.testLz.OpenHandleCount(), 0u);
  EXPECT_EQ(world.shell.LiveLinkObjects(), 0);
  EXPECT_EQ(world.shell.LiveItemLists(), 0u);
  EXPECT_EQ(world.shell.AllocatorReferences(), 0);
  // Nothing the install never names, such as the compressed name (Readme.ht_) the LZ library
  // creates when it cannot create the destination itself.
  for (const HostFolder* drive : {&world.c, &world.d}) {
    for (const auto& file : std::filesystem::recursive_directory_iterator(drive->Path())) {
      std::string name = file.path().filename(), content;
      EXPECT_TRUE(file.is_directory() || file.path().extension() == ".lnk" || name == "InstallLog.txt" ||
                  ExpectedContent(name, &content)) << "left behind: " << name;
    }
  }

  // Every temporary file carries the product's prefix.
  EXPECT_EQ(world.faulty.tempPrefixes, std::vector<std::string>(world.faulty.tempPrefixes.size(), "vsq"));
  // Whether the file is there and holds what its name must hold.
  auto Whole = [&](const std::string& path) {
    std::string expected, actual;
    return ExpectedContent(FileName(path), &expected) && world.ReadFile(path, &actual) && actual == expected;
  };
  std::string log = world.LogText();
  // A log that could not be created, or a log write that failed half way (leaving one line that names
  // nothing), loses only the record: everything else is installed, and the outcome says so.
  bool logDamaged = EndsWith(world.faulty.FailedPath(), "InstallLog.txt");
  int damagedLines = 0;
  std::set<std::string> installed;
  for (size_t start = 0, end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2) {
    std::string line = log.substr(start, end - start);
    for (std::string mark : {" - installed.", " - installed"}) {
      if (!EndsWith(line, mark)) continue;
      std::string path = line.substr(0, line.size() - mark.size());
      bool whole = Whole(path);
      if (!whole && logDamaged && damagedLines++ == 0) break;
      EXPECT_TRUE(whole) << "logged as installed: " << path;
      installed.insert(path);
      break;
    }
  }
  EXPECT_TRUE(!logDamaged || InstallSucceeded()) << "a damaged log alone failed the install";
  // Every entry the install added or changed names a file that is there whole.
  for (const std::string& entry : Entries(&world)) {
    if (before.count(entry) != 0) continue;
    EXPECT_TRUE(Whole(entry.substr(entry.find('=') + 1))) << "registered but not installed whole: " << entry;
  }
  if (InstallSucceeded()) {
    EXPECT_TRUE(ran);
    const std::string closing = "Shortcuts written to Start |Programs\r\n\r\nInstallation complete.\r\n";
    EXPECT_TRUE(logDamaged || EndsWith(log, closing));
    if (complete->empty()) {
      size_t rows = std::count_if(kInstallTable, kInstallTable + kInstallTableRows,
                                  [&](const InstallRow& row) { return RowApplies(row.edition, setup.edition); });
      EXPECT_GE(installed.size(), rows) << "success claimed with rows missing";
      *complete = installed;
    }
    for (const std::string& path : *complete) EXPECT_TRUE(Whole(path)) << "success claimed without " << path;
    // Each shortcut saved once, after the one announcement of their folder.
    EXPECT_EQ(world.shell.SavedLinks().size(), setup.edition == EditionProfessional ? 3u : 2u);
    EXPECT_EQ(world.shell.ChangeNotices().size(), 1u);
  } else if (ran) {
    EXPECT_EQ(log.find("Installation complete."), std::string::npos);
  }
  return InstallSucceeded();
}

class FaultSweep : public ::testing::TestWithParam<Setup> {};

TEST_P(FaultSweep, NoFailureIsReportedAsAnInstalledFile) {
  int creates = 0, writes = 0;
  std::set<std::string> complete;
  ASSERT_TRUE(InstallAndCheck(GetParam(), 0, 0, &complete, &creates, &writes)) << "the install without faults succeeds";
  ASSERT_GT(creates, 10);
  ASSERT_GT(writes, 30);
  // Each creation in turn, then each write.
  for (int n = 1; n <= creates + writes; ++n) {
    bool create = n <= creates;
    SCOPED_TRACE((create ? "create " : "write ") + std::to_string(create ? n : n - creates));
    InstallAndCheck(GetParam(), create ? n : 0, create ? 0 : n - creates, &complete, nullptr, nullptr);
    if (HasFatalFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryEdition, FaultSweep,
    ::testing::Values(Setup{EditionStandard, "office97.reg"}, Setup{EditionStandard, "office2000.reg"},
                      Setup{EditionProfessional, "office97.reg"}, Setup{EditionProfessional, "office2000.reg"},
                      Setup{EditionQuorvel, "office97.reg"}, Setup{EditionQuorvel, "office2000.reg"}),
    [](const ::testing::TestParamInfo<Setup>& info) {
      return std::string(EditionName(info.param.edition)) + (info.param.scenario[6] == '9' ? "Word97" : "Word2000");
    });

}  // namespace
