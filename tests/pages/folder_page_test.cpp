#include "pages/folder_page.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "tests/pages/page_bench.h"

namespace {

// An Office 2000 in this folder and, when one is given, a custom dictionary, as .reg text.
std::string Office2000(const std::string& folder, const std::string& dictionary = "") {
  std::string text = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Office\\9.0\\Common\\InstallRoot]\r\n"
                     "\"Path\"=\"" + folder + "\"\r\n";
  if (dictionary.empty()) return text;
  return text + "\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Shared Tools\\Proofing Tools\\Custom Dictionaries]\r\n"
                "\"1\"=\"" + dictionary + "\"\r\n";
}
const std::string kCustomDictionary = Office2000("E:\\\\Office\\\\", "D:\\\\Dict\\\\custom.dic");

TEST(FolderPage, DefaultsComeFromTheCustomDictionaryElseTheOfficeFolder) {
  // Only one backslash goes, also at a drive's root; a folder without one stays as it is.
  const std::pair<std::string, std::string> cases[] = {{kCustomDictionary, "D:\\Dict"},
                                                       {Office2000("E:\\\\Office\\\\"), "E:\\Office"},
                                                       {"", ""},
                                                       {Office2000("E:\\\\"), "E:"},
                                                       {Office2000("E:\\\\Office"), "E:\\Office"},
                                                       {Office2000("E:\\\\Office\\\\\\\\"), "E:\\Office\\"}};
  for (const auto& [registry, dictionary] : cases) {
    PageBench bench;
    if (!registry.empty()) bench.LoadRegistry(registry);
    g_officeInfo.DetectVersions();
    FolderPage page;
    page.Create(bench.parent);
    EXPECT_EQ(bench.Text(page.dictionaryEdit), dictionary) << registry;
    EXPECT_EQ(bench.Text(page.installEdit), "C:\\Program Files") << registry;
  }
}

TEST(FolderPage, CreateTwiceMakesOneSetLaidOutWithItsLabelsAndDestroyClearsAll) {
  PageBench bench;
  FolderPage page;
  page.Create(bench.parent);
  // Shown in the order install Browse, install edit, dictionary Browse, dictionary edit.
  std::vector<std::string> shown = bench.log.CallTexts("ShowWindow");
  EXPECT_EQ(shown, (std::vector<std::string>{"ShowWindow(w3,5)", "ShowWindow(w5,5)", "ShowWindow(w2,5)",
                                             "ShowWindow(w4,5)"}));
  page.Create(bench.parent);
  EXPECT_EQ(bench.Controls(),
            (std::vector<std::string>{
                "BUTTON \"B&rowse\" ex=0x0 style=0x40000001 460,40 118x32 id=10004 shown",
                "BUTTON \"B&rowse\" ex=0x0 style=0x40000001 460,112 118x32 id=10006 shown",
                "EDIT \"\" ex=0x0 style=0x40800080 16,40 428x32 id=10005 shown",
                "EDIT \"C:\\Program Files\" ex=0x0 style=0x40800080 16,112 428x32 id=10007 shown"}));

  std::vector<RecordedDrawing> labels = bench.Paint(page);
  ASSERT_EQ(labels.size(), 2u);
  EXPECT_EQ(DrawingText(labels[0]), "DrawTextA Install dictionary in folder: 16,16,578,40");
  EXPECT_EQ(DrawingText(labels[1]), "DrawTextA Place Vessora folder in: 16,88,578,112");
  EXPECT_EQ(labels[0].format, 0u);

  page.Destroy();
  EXPECT_EQ(bench.log.CallTexts("DestroyWindow"),
            (std::vector<std::string>{"DestroyWindow(w2)", "DestroyWindow(w4)", "DestroyWindow(w3)",
                                      "DestroyWindow(w5)"}));
  EXPECT_EQ((std::vector<HWND>{page.dictionaryEdit, page.installEdit, page.dictionaryBrowseButton,
                               page.installBrowseButton}),
            std::vector<HWND>(4, nullptr));
  page.Destroy();
  EXPECT_EQ(bench.log.CallTexts("DestroyWindow").size(), 4u);
}

TEST(FolderPage, BrowseWidthReachesItsCapAt750) {
  struct Case {
    int width, browse, browseLeft, edit;
  };
  for (const Case& c : {Case{749, 149, 584, 552}, Case{750, 150, 584, 552}, Case{900, 150, 734, 702}}) {
    PageBench bench(c.width, 365);
    FolderPage page;
    page.Create(bench.parent);
    EXPECT_EQ(bench.windows.Window(page.dictionaryBrowseButton)->Width(), c.browse) << c.width;
    EXPECT_EQ(bench.windows.Window(page.dictionaryBrowseButton)->rect.left, c.browseLeft) << c.width;
    EXPECT_EQ(bench.windows.Window(page.installEdit)->Width(), c.edit) << c.width;
  }
}

TEST(FolderPage, AccessorsRespectTheCapacity) {
  PageBench bench;
  FolderPage page;
  char buffer[8];
  std::memset(buffer, 'z', sizeof buffer);
  page.GetDictionaryFolder(buffer, sizeof buffer);  // no controls: an empty text
  EXPECT_STREQ(buffer, "");

  page.Create(bench.parent);
  page.SetDictionaryFolder("D:\\A rather long folder");
  page.SetInstallFolder("F:\\Apps");
  std::memset(buffer, 'z', sizeof buffer);
  page.GetDictionaryFolder(buffer, 5);
  EXPECT_STREQ(buffer, "D:\\A");
  EXPECT_EQ(buffer[5], 'z');  // nothing written past the capacity
  page.GetInstallFolder(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "F:\\Apps");
}

TEST(BrowseForFolder, ChosenPathReplacesTheBufferCancelKeepsIt) {
  PageBench bench;
  FolderPage page;
  page.Create(bench.parent);
  page.SetDictionaryFolder("C:\\Typed");
  char buffer[260] = "C:\\Before";

  bench.shell.QueueBrowseResult("D:\\Chosen\\Folder");
  BrowseForFolder(bench.parent, page.dictionaryEdit, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "D:\\Chosen\\Folder");
  ASSERT_EQ(bench.shell.BrowseCalls().size(), 1u);
  const BROWSEINFOA& info = bench.shell.BrowseCalls()[0].info;
  EXPECT_EQ(std::make_tuple(info.hwndOwner, info.pidlRoot, info.pszDisplayName, info.lpszTitle, info.ulFlags, info.lpfn,
                            info.lParam),
            std::make_tuple(bench.parent, nullptr, nullptr, nullptr, 5u, &BrowseCallback,
                            reinterpret_cast<LPARAM>(page.dictionaryEdit)));

  bench.shell.QueueBrowseCancel();  // cancelled
  BrowseForFolder(bench.parent, page.dictionaryEdit, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "D:\\Chosen\\Folder");
  bench.shell.QueueBrowseResult("");  // a folder outside the file system: it has no path
  BrowseForFolder(bench.parent, page.dictionaryEdit, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "D:\\Chosen\\Folder");

  // The allocator is given back and every item list freed, cancelled or not.
  EXPECT_EQ(bench.shell.AllocatorReferences(), 0);
  EXPECT_EQ(bench.shell.LiveItemLists(), 0u);
}

TEST(BrowseForFolder, WithoutAnAllocatorOrRoomForThePathTheBufferIsKept) {
  for (bool allocator : {false, true}) {
    SCOPED_TRACE(allocator ? "a path longer than the buffer" : "no allocator: nothing is shown");
    PageBench bench;
    bench.shell.SetAllocatorAvailable(allocator);
    char buffer[260] = "C:\\Old";
    bench.shell.QueueBrowseResult("D:\\Much\\Longer");
    BrowseForFolder(bench.parent, nullptr, buffer, allocator ? 8 : 260);
    EXPECT_STREQ(buffer, "C:\\Old");
    EXPECT_EQ(bench.shell.BrowseCalls().size(), allocator ? 1u : 0u);
    EXPECT_EQ(bench.shell.AllocatorReferences(), 0);
  }
}

TEST(BrowseCallback, SelectsTheTypedFolderAndSetsTheStatusLine) {
  PageBench bench;
  FolderPage page;
  page.Create(bench.parent);
  // Longer than half a path, so that the whole typed text must be read.
  const std::string typed = "E:\\" + std::string(200, 's');
  page.SetInstallFolder(typed.c_str());
  HWND chooser = bench.shell.ChooserWindow();
  LPARAM source = reinterpret_cast<LPARAM>(page.installEdit);

  bench.log.Clear();
  EXPECT_EQ(BrowseCallback(chooser, BFFM_SELCHANGED, 0, source), 0);
  EXPECT_EQ(bench.log.FindCall("SendMessageA"), -1);

  EXPECT_EQ(BrowseCallback(chooser, BFFM_INITIALIZED, 0, source), 0);
  EXPECT_EQ(bench.log.CallTexts("SendMessageA"),
            (std::vector<std::string>{"SendMessageA(0x5c400,0x466,0x1,\"" + typed + "\")",
                                      "SendMessageA(0x5c400,0x464,0x0,\"Please locate the folder\")"}));

  bench.log.Clear();
  page.SetInstallFolder("");
  EXPECT_EQ(BrowseCallback(chooser, BFFM_INITIALIZED, 0, source), 0);
  EXPECT_EQ(BrowseCallback(chooser, BFFM_INITIALIZED, 0, 0), 0);
  EXPECT_EQ(bench.log.FindCall("SendMessageA"), -1);
}

}  // namespace
