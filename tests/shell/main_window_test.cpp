#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "resources/sponsor.h"
#include "tests/shell/wizard_fixture.h"

namespace {

TEST(MainWindow, IsCentredAt600By440AndTitledByStringThreeCutTo63OrAFallback) {
  std::string longTitle(70, 'x');
  for (size_t i = 0; i < longTitle.size(); ++i) longTitle[i] = static_cast<char>('A' + i % 26);
  const std::string title = "Vessora Quorvel Edition  v1.0 Setup";
  enum Change { kKeep, kSet, kRemove };
  struct Case {
    int width, height, left, top;
    Change change;
    std::string string3, title;
  };
  for (const Case& c : {Case{1024, 768, 212, 164, kKeep, "", title}, Case{640, 480, 20, 20, kSet, longTitle,
                        longTitle.substr(0, 63)}, Case{800, 600, 100, 80, kRemove, "", "Vessora Setup"},
                        Case{599, 440, 0, 0, kSet, "", "Vessora Setup"}, Case{597, 438, -1, -1, kKeep, "", title},
                        Case{500, 300, -50, -70, kKeep, "", title}}) {
    WizardWorld world;
    world.windows.SetScreenSize(c.width, c.height);
    if (c.change == kSet) world.testResources.SetString(3, c.string3);
    if (c.change == kRemove) world.testResources.RemoveString(3);
    EXPECT_EQ(world.Run(), 0);
    std::string at = std::to_string(c.left) + "," + std::to_string(c.top);
    EXPECT_EQ(world.log.CallTexts("CreateWindowExA").at(0), "CreateWindowExA(0x0,\"LunveraSetup\",\"" + c.title +
                                                                "\",0xa0000," + at + ",600,440,0,0) = w1");
    EXPECT_EQ(RectText(g_windowRect), at + ",600,440");
  }
}

TEST(StartUp, RunsInOrderAndRegistersTheClass) {
  WizardWorld world;
  std::vector<std::string> timeline;
  int comAtFirstCall = -1;
  world.log.onCall = [&](const RecordedCall& call) {
    if (comAtFirstCall < 0) comAtFirstCall = world.shell.CoInitializeCount();
    if (call.operation != "Message" && call.operation != "DefWindowProcA") timeline.push_back(call.operation);
  };
  world.windows.SetScreenSize(1024, 768);
  world.Run();

  // COM comes first, before any window call; the screen is read from the desktop's context.
  EXPECT_EQ(comAtFirstCall, 1);
  std::vector<std::string> first(timeline.begin(), timeline.begin() + 6);
  EXPECT_EQ(first, (std::vector<std::string>{"GetDesktopWindow", "GetDC", "GetDeviceCaps", "GetDeviceCaps",
                                             "ReleaseDC", "AdjustWindowRect"}));
  EXPECT_EQ(world.log.CallTexts("GetDeviceCaps"),
            (std::vector<std::string>{"GetDeviceCaps(dc1,8) = 1024", "GetDeviceCaps(dc1,10) = 768"}));
  EXPECT_EQ(world.testResources.loadedStrings.at(0), 3u);
  EXPECT_EQ(world.testResources.loadedIcons, std::vector<int>{103});
  EXPECT_EQ(world.log.CallTexts("RegisterClassA").at(0),
            "RegisterClassA(\"LunveraSetup\",style=0x2003,icon=icon 103,cursor=IDC_ARROW,brush=WHITE_BRUSH) = 0xc001");

  // Creation builds the buttons (laid out in the client area of 594 by 413 the default frame leaves) and
  // page 1 and starts the timer before the window is shown and painted.
  EXPECT_EQ(world.log.MissingFromOrder({"CreateWindowExA(0x0,\"LunveraSetup\"",
                                            "CreateWindowExA(0x0,\"BUTTON\",\"Do &not accept\",0x40000001,100,365,148,"
                                            "36,w1,10000) = w2",
                                            "CreateWindowExA(0x0,\"BUTTON\",\"&Accept\",0x40000000,346,365,148,36,w1,"
                                            "10001) = w3",
                                            "CreateWindowExA(0x20,\"BUTTON\",\"\"", "SetTimer(w1,1,1000,0) = 1",
                                            "ShowWindow(w1,1)", "UpdateWindow(w1)", "BeginPaint(w1)", "GetMessageA"}),
            "");
  EXPECT_EQ(g_timerId, 1u);
  EXPECT_TRUE(world.windows.MessageBoxes().empty());
}

TEST(StartUp, WithoutAWindowSkipsTheLoopAndStillTearsDown) {
  WizardWorld world;
  world.windows.FailCreateOfClass("LunveraSetup");
  EXPECT_EQ(world.Run(), 0);
  EXPECT_EQ(world.log.FindCall("GetMessageA"), -1);
  EXPECT_EQ(std::make_pair(world.shell.CoInitializeCount(), world.shell.CoUninitializeCount()), std::make_pair(1, 1));
  for (WizardPage* page : g_pages) EXPECT_EQ(page, nullptr);
}

TEST(Timer, FailureIsToldBeforeTheWindowShowsAndTheWizardStillWorks) {
  WizardWorld world;
  world.windows.SetTimerResult(0);
  // Next, I Accept, Back, Back, Exit.
  for (int id : {kNextButtonId, kNextButtonId, kBackButtonId, kBackButtonId, kBackButtonId})
    world.user.PushClick(id);
  EXPECT_EQ(world.Run(), 0);

  ASSERT_EQ(world.windows.MessageBoxes().size(), 1u);
  const RecordedMessageBox& box = world.windows.MessageBoxes()[0];
  EXPECT_EQ(box.text, "P\xE4nui");  // one byte for the letter with its diaeresis
  EXPECT_EQ(box.caption, std::string("K\xE4ore he karaka i te w\xE4tea"));
  EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(world.windows.NameOf(box.owner), "w1");
  EXPECT_FALSE(box.ownerVisible);
  EXPECT_EQ(world.log.MissingFromOrder({"MessageBoxA", "ShowWindow(w1,1)"}), "");
  EXPECT_EQ(g_timerId, 0u);
  EXPECT_GE(world.log.FindCall("KillTimer(w1,0) = FALSE"), 0);
  // Every page move still happened and Exit ended the program.
  EXPECT_EQ(world.log.CallTexts("PostQuitMessage"), std::vector<std::string>{"PostQuitMessage(0)"});
  EXPECT_FALSE(world.windows.InputExhausted());
  EXPECT_EQ(world.windows.Paints().size(), 5u);
}

TEST(Ending, CloseBoxCommand18AndExitStopTheTimerQuitAndTearDownWithNothingInstalled) {
  struct Case {
    const char* name;
    int nexts;  // pages moved forward first
    std::function<void(ScriptedUser&)> end;
    std::string handled;
    bool controlsLeft;  // the page shown still holds controls of its own when the window goes
  };
  const Case cases[] = {
      {"close box", 2, [](ScriptedUser& w) { w.PushCloseBox(); }, "DefWindowProcA(w1,WM_CLOSE", true},
      {"command 18", 2, [](ScriptedUser& w) { w.PushCommand(18); }, "DestroyWindow(w1)", true},
      {"Exit", 0, [](ScriptedUser& w) { w.PushClick(kBackButtonId); }, "DestroyWindow(w1)", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WizardWorld world;
    for (int i = 0; i < c.nexts; ++i) world.user.PushClick(kNextButtonId);
    c.end(world.user);
    EXPECT_EQ(world.Run(), 0);
    EXPECT_GE(world.log.FindCall(c.handled), 0);
    EXPECT_EQ(world.windows.MainWindow(), nullptr);
    EXPECT_FALSE(world.windows.InputExhausted());  // it ended by itself
    EXPECT_FALSE(g_installOutcome.ran);
    EXPECT_FALSE(world.c.Exists("Program Files/Vessora"));
    EXPECT_EQ(world.log.MissingFromOrder({"KillTimer(w1,1) = TRUE", "PostQuitMessage(0)"}), "");
    EXPECT_EQ(world.windows.ActiveTimers(), 0u);
    EXPECT_EQ(world.windows.OpenDeviceContexts(), 0);
    // The quit message was the last thing the window system gave; then the pages went and COM. Only a
    // page left holding controls (already gone with the window) may destroy them again; Exit leaves none.
    const std::vector<RecordedCall>& calls = world.log.Calls();
    int quit = world.log.FindCall("GetMessageA() = WM_QUIT");
    ASSERT_GE(quit, 0);
    for (size_t i = quit + 1; i < calls.size(); ++i)
      EXPECT_TRUE(c.controlsLeft && calls[i].operation == "DestroyWindow" && !calls[i].returned) << calls[i].Text();
    EXPECT_EQ(std::make_pair(world.shell.CoInitializeCount(), world.shell.CoUninitializeCount()), std::make_pair(1, 1));
    for (WizardPage* page : g_pages) EXPECT_EQ(page, nullptr);
  }
}

// A page that runs `deleted` when it is deleted.
class WatchedPage : public WizardPage {
 public:
  explicit WatchedPage(std::function<void()> deleted) : deleted(std::move(deleted)) {}
  ~WatchedPage() override { deleted(); }
  std::function<void()> deleted;
};

TEST(Teardown, DeletesPagesInPageOrderThenUninitialisesCom) {
  WizardWorld world;
  std::vector<std::string> log;
  for (int number : {1, 2, 4}) {
    g_pages[number] = new WatchedPage([&, number] {
      log.push_back("page " + std::to_string(number) + (world.shell.CoUninitializeCount() > 0 ? " after COM" : ""));
    });
  }
  g_pages[3] = nullptr;  // a page that could not be made is skipped
  Teardown();
  EXPECT_EQ(log, (std::vector<std::string>{"page 1", "page 2", "page 4"}));
  EXPECT_EQ(world.shell.CoUninitializeCount(), 1);
  for (WizardPage* page : g_pages) EXPECT_EQ(page, nullptr);
}

LRESULT Send(WizardWorld& world, UINT message, WPARAM wParam, LPARAM lParam = 0) {
  return world.windows.SendMessageA(world.Main(), message, wParam, lParam);
}

// Starts the wizard and keeps it open while `body` runs inside the loop.
void WithOpenWizard(WizardWorld& world, const std::function<void()>& body) {
  world.user.PushAction(body);
  world.user.PushCommand(18);
  world.Run();
}

TEST(WindowProcedure, KeepsTheSizeFixedAndRepaintsOnActivation) {
  WizardWorld world;
  WithOpenWizard(world, [&] {
    MINMAXINFO limits = {};
    limits.ptMaxSize = POINT{1024, 768};
    EXPECT_EQ(Send(world, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits)), 0);
    EXPECT_EQ(std::make_tuple(limits.ptMinTrackSize.x, limits.ptMinTrackSize.y, limits.ptMaxTrackSize.x,
                              limits.ptMaxTrackSize.y),
              std::make_tuple(600, 440, 600, 440));
    EXPECT_EQ(limits.ptMaxSize.x, 1024);  // the maximised size is left alone

    world.log.Clear();
    // Only the low word says whether the window is active; the high word is the minimised flag.
    EXPECT_EQ(Send(world, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1)), 0);
    EXPECT_EQ(world.log.FindCall("InvalidateRect"), -1);
    EXPECT_EQ(Send(world, WM_ACTIVATE, 2 /* WA_CLICKACTIVE */), 0);
    EXPECT_GE(world.log.FindCall("InvalidateRect(w1,null,TRUE)"), 0);
    EXPECT_EQ(world.log.FindCall("DefWindowProcA"), -1);

    EXPECT_EQ(Send(world, WM_ERASEBKGND, 0), 0);
    EXPECT_EQ(Send(world, WM_TIMER, 1), 0);
    EXPECT_EQ(world.log.FindCall("DefWindowProcA"), -1);
  });
  // The window's own size never changed.
  const RecordedWindow& main = world.windows.AllWindows().at(0);
  EXPECT_EQ(std::make_pair(main.Width(), main.Height()), std::make_pair(600, 440));
}

TEST(WindowProcedure, IgnoresUnknownCommandsAndNotificationsAndPassesOtherMessagesOn) {
  WizardWorld world;
  WithOpenWizard(world, [&] {
    world.log.Clear();
    // A notification code in the high word does not change which command it is.
    for (WPARAM command :
         {WPARAM{kDictionaryEditId}, WPARAM{kLicenceEditId}, WPARAM{12345}, MAKEWPARAM(kInstallEditId, 0x0300)})
      EXPECT_EQ(Send(world, WM_COMMAND, command), 0) << command;
    EXPECT_EQ(world.log.FindCall("DefWindowProcA"), -1);
    EXPECT_EQ(world.log.FindCall("DestroyWindow"), -1);
    EXPECT_EQ(g_currentPage, 1);
    EXPECT_TRUE(world.shell.ExecuteCalls().empty());
    char title[64] = "";
    EXPECT_EQ(Send(world, WM_GETTEXT, sizeof title, reinterpret_cast<LPARAM>(title)), 35);
    EXPECT_STREQ(title, "Vessora Quorvel Edition  v1.0 Setup");
  });
}

TEST(WindowProcedure, OpensTheSponsorAndTheInstalledReadmeUnlessItsPathIsTooLong) {
  WizardWorld world;
  world.user.PushClick(kLinkButtonId);
  WithOpenWizard(world, [&] {
    std::strcpy(g_installFolder, "C:\\Program Files\\Vessora");
    Send(world, WM_COMMAND, kReadmeButtonId);
    std::strcpy(g_installFolder, "D:\\");
    Send(world, WM_COMMAND, MAKEWPARAM(kReadmeButtonId, 0));
    std::memset(g_installFolder, 'a', 255);
    g_installFolder[255] = '\0';
    Send(world, WM_COMMAND, kReadmeButtonId);
  });
  // Each opened with the open verb, no parameters and no working folder, shown normally, owned by the window.
  std::vector<std::string> opened;
  for (const PortableShellServices::ExecuteCall& call : world.shell.ExecuteCalls())
    opened.push_back(world.windows.NameOf(call.owner) + " " + call.verb + " " + call.file + " [" + call.parameters +
                     "] [" + call.folder + "] " + std::to_string(call.showCommand));
  EXPECT_EQ(opened, (std::vector<std::string>{"w1 open " + std::string(kSponsorAddress) + " [] [] 1",
                                              "w1 open C:\\Program Files\\Vessora\\Readme.htm [] [] 1",
                                              "w1 open D:\\Readme.htm [] [] 1"}));
}

}  // namespace
