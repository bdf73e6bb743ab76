#include "platform/portable/shell_services.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/support/test_machine.h"

namespace {

using SeenCall = std::tuple<HWND, UINT, LPARAM, bool>;  // chooser, message, data, whether the owner was disabled
HWND g_owner = nullptr;
std::vector<SeenCall> g_seen;

int CALLBACK RecordCallback(HWND chooser, UINT message, LPARAM, LPARAM data) {
  // Disabling the owner again tells whether it already was, and leaves it so.
  g_seen.emplace_back(chooser, message, data, g_platform.windows->EnableWindow(g_owner, FALSE) != FALSE);
  // What a chooser callback does when it opens: select a folder and set the status line.
  g_platform.windows->SendMessageA(chooser, BFFM_SETSELECTIONA, 1, reinterpret_cast<LPARAM>("C:\\Start"));
  return 0;
}

TEST(PortableShell, FolderChooserAnswersFromItsScriptAfterInitialisingTheCallbackOverItsDisabledOwner) {
  TestMachine world;
  world.shell.QueueBrowseResult("D:\\Chosen Folder");
  world.shell.QueueBrowseCancel();

  BROWSEINFOA info = {};
  info.hwndOwner = world.windows.CreateWindowExA(0, "STATIC", "", 0, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  info.lpfn = RecordCallback;
  info.lParam = 77;
  g_seen.clear();
  g_owner = info.hwndOwner;
  LPITEMIDLIST chosen = world.shell.SHBrowseForFolderA(&info);
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(g_seen, (std::vector<SeenCall>{SeenCall{world.shell.ChooserWindow(), BFFM_INITIALIZED, 77, true}}));
  EXPECT_TRUE(world.windows.Window(info.hwndOwner)->enabled);  // and enabled again once the chooser is gone
  EXPECT_NE(world.log.FindCall("SendMessageA"), -1);

  char path[MAX_PATH] = "";
  EXPECT_TRUE(world.shell.SHGetPathFromIDListA(chosen, path));
  EXPECT_STREQ(path, "D:\\Chosen Folder");
  IMalloc* allocator = nullptr;
  ASSERT_EQ(world.shell.SHGetMalloc(&allocator), S_OK);
  allocator->Free(chosen);
  allocator->Release();
  EXPECT_EQ(world.shell.LiveItemLists(), 0u);
  EXPECT_FALSE(world.shell.SHGetPathFromIDListA(chosen, path)) << "a freed list names nothing";

  EXPECT_EQ(world.shell.SHBrowseForFolderA(&info), nullptr);  // cancelled
  EXPECT_EQ(world.shell.SHBrowseForFolderA(&info), nullptr);  // nothing scripted: cancelled too
  ASSERT_EQ(world.shell.BrowseCalls().size(), 3u);
  EXPECT_EQ(world.shell.BrowseCalls()[0].chosen, "D:\\Chosen Folder");
  EXPECT_EQ(world.shell.BrowseCalls()[0].info.ulFlags, static_cast<UINT>(BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT));
  EXPECT_EQ(world.shell.BrowseCalls()[1].chosen, "");
}

TEST(PortableShell, CodePage1252ConversionFollowsTheWin32Contract) {
  TestMachine world;
  WCHAR wide[8];
  EXPECT_EQ(world.shell.MultiByteToWideChar(CP_ACP, 0, "a\x80\xe4", -1, wide, 8), 4);
  EXPECT_EQ(std::vector<WCHAR>(wide, wide + 4), (std::vector<WCHAR>{u'a', 0x20AC, 0x00E4, 0}));
  EXPECT_EQ(world.shell.MultiByteToWideChar(CP_ACP, 0, "abcdef", -1, nullptr, 0), 7);
  EXPECT_EQ(world.shell.MultiByteToWideChar(CP_ACP, 0, "abcdefgh", -1, wide, 8), 0) << "no room for the terminator";
  EXPECT_EQ(world.shell.MultiByteToWideChar(CP_ACP, 0, "abc", 2, wide, 8), 2);
  // Lead bytes at the edges of 932's ranges (0x81-0x9F, 0xE0-0xFC); 1252 has none. Only 1252 converts.
  std::string leads;
  for (UINT codePage : {1252u, 932u}) {
    ASSERT_TRUE(world.shell.SetCodePage(codePage));
    for (BYTE b : {0x80, 0x81, 0x9F, 0xA0, 0xDF, 0xE0, 0xFC, 0xFD}) leads += world.shell.IsDBCSLeadByte(b) ? 'L' : '.';
  }
  EXPECT_EQ(leads, "........" ".LL..LL.");
  EXPECT_EQ(world.shell.MultiByteToWideChar(CP_ACP, 0, "abc", -1, wide, 8), 0);
  EXPECT_FALSE(world.shell.SetCodePage(936));
  std::string back;
  EXPECT_TRUE(NarrowCodePage1252(WidenCodePage1252("\x80\x9f\xff x"), &back));
  EXPECT_EQ(back, "\x80\x9f\xff x");
  EXPECT_FALSE(NarrowCodePage1252(u"\u4e2d", &back));
}

}  // namespace
