#include "shell/navigation.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/shell/wizard_fixture.h"

namespace {

TEST(ButtonLayout, StripAndPageAreaFollowTheClientSize) {
  struct Case {
    int clientWidth, clientHeight;
    int buttonWidth, left, right, top;
  };
  for (const Case& c : {Case{594, 413, 148, 100, 346, 365}, Case{600, 440, 150, 100, 350, 392},
                        Case{400, 300, 100, 67, 233, 252}, Case{1000, 500, 150, 300, 550, 452}}) {
    SCOPED_TRACE(std::to_string(c.clientWidth) + " by " + std::to_string(c.clientHeight));
    WizardWorld world;
    world.windows.SetFrame(WindowFrame{0, 0, 0, 0});
    HWND window = world.log.CreateWindowExA(0, "STATIC", "", 0, 0, 0, c.clientWidth, c.clientHeight, nullptr,
                                                nullptr, nullptr, nullptr);
    CreateNavigationButtons(window);
    std::string b = std::to_string(c.buttonWidth), y = std::to_string(c.top), w = std::to_string(c.clientWidth);
    EXPECT_EQ(world.log.CallTexts("CreateWindowExA"),
              (std::vector<std::string>{
                  "CreateWindowExA(0x0,\"STATIC\",\"\",0x0,0,0," + w + "," + std::to_string(c.clientHeight) +
                      ",0,0) = w1",
                  "CreateWindowExA(0x0,\"BUTTON\",\"Do &not accept\",0x40000001," + std::to_string(c.left) + "," +
                      y + "," + b + ",36,w1,10000) = w2",
                  "CreateWindowExA(0x0,\"BUTTON\",\"&Accept\",0x40000000," + std::to_string(c.right) + "," + y + "," +
                      b + ",36,w1,10001) = w3"}));
    EXPECT_EQ(world.log.CallTexts("ShowWindow"),
              (std::vector<std::string>{"ShowWindow(w2,5)", "ShowWindow(w3,5)"}));
    EXPECT_EQ(RectText(WizardPage::PageArea()), "0,0," + w + "," + std::to_string(c.clientHeight - 48));
    EXPECT_EQ(world.windows.NameOf(g_backButton), "w2");
    EXPECT_EQ(world.windows.NameOf(g_nextButton), "w3");
  }
}

// One move in one sequence across both worlds, each step with the page number at that moment: the window
// operations its table orders (the control that goes or comes, the folder edits read, the repaint asked for)
// and the file operations (filesAt holds them by the number of window calls made before them).
std::vector<std::string> MoveShape(const RecordingWindowSystem& windows, const CallLog& log, size_t from, size_t to,
                                   const std::vector<int>& pageAt,
                                   const std::map<size_t, std::vector<std::string>>& filesAt) {
  static const std::map<std::string, std::string> kShapes = {{"CreateWindowExA", "Create "}, {"DestroyWindow",
      "Destroy "}, {"GetWindowTextA", "Read "}, {"InvalidateRect", "Invalidate"}, {"MessageBeep", "Beep"}};
  std::vector<std::string> shape;
  for (size_t i = from; i < to && i < log.Calls().size(); ++i) {
    const RecordedCall& call = log.Calls()[i];
    if (filesAt.count(i) != 0) shape.insert(shape.end(), filesAt.at(i).begin(), filesAt.at(i).end());
    if (call.operation == "BeginPaint") break;
    auto named = kShapes.find(call.operation);
    const RecordedWindow* window = windows.Window(call.window);
    if (named != kShapes.end())  // the window a control call is about, by its control identifier
      shape.push_back(named->second + (named->second.back() == ' ' ? std::to_string(window ? window->id : -1) : "") +
                      " @" + std::to_string(pageAt[i]));
  }
  return shape;
}

// Walks the whole wizard: forward, back to the start, forward again, install, Back and the greyed-out
// Back on the finish page, finish.
TEST(Moves, EachMoveDestroysCreatesAndInvalidatesInItsOrderAndTheCaptionsFollowThePage) {
  WizardWorld world;
  world.c.MakeFolder("Dict");
  std::vector<int> pageAt;
  world.log.onCall = [&](const RecordedCall&) { pageAt.push_back(g_currentPage); };
  std::map<size_t, std::vector<std::string>> filesAt;
  world.faulty.onChange = [&](const std::string& change) {
    filesAt[world.log.Calls().size()].push_back(change + " @" + std::to_string(g_currentPage));
  };
  std::vector<std::string> seen;  // at each paint: the page, the two captions, and whether Back can be pressed
  world.windows.onPaint = [&](const RecordedPaint&) {
    const RecordedWindow* back = world.windows.Window(g_backButton);
    seen.push_back(std::to_string(g_currentPage) + " " + world.Text(g_backButton) +
                   (back && back->enabled ? "" : " (greyed)") + " | " + world.Text(g_nextButton));
  };
  std::vector<size_t> marks;
  auto mark = [&] { world.user.PushAction([&] { marks.push_back(world.log.Calls().size()); }); };
  auto markedClick = [&](int id) {
    mark();
    world.user.PushClick(id);
  };
  for (int id : {kNextButtonId, kNextButtonId, kBackButtonId, kBackButtonId}) markedClick(id);
  for (int id : {kNextButtonId, kNextButtonId}) world.user.PushClick(id);
  world.user.PushTypeText(kDictionaryEditId, "C:\\Dict");
  markedClick(kNextButtonId);  // Install
  mark();
  world.user.PushCommand(kBackButtonId);  // Back on the finish page
  markedClick(kBackButtonId);  // the greyed-out button cannot be pressed
  markedClick(kNextButtonId);  // Finish
  EXPECT_EQ(world.Run(), 0);
  EXPECT_FALSE(world.windows.InputExhausted());  // Finish ended it
  marks.push_back(world.log.Calls().size());
  ASSERT_EQ(marks.size(), 9u);
  EXPECT_EQ(seen, (std::vector<std::string>{"1 E&xit | &Next", "2 &Back | I &Accept", "3 &Back | &Install",
                                             "2 &Back | I &Accept", "1 E&xit | &Next", "2 &Back | I &Accept",
                                             "3 &Back | &Install", "4 &Back (greyed) | &Finish"}));
  for (const std::string& text : world.log.CallTexts("SetWindowTextA")) {
    EXPECT_EQ(text.find("Do &not accept"), std::string::npos) << text;
    EXPECT_EQ(text.find("\"&Accept\""), std::string::npos) << text;
  }
  auto shape = [&](int move) { return MoveShape(world.windows, world.log, marks[move], marks[move + 1], pageAt, filesAt); };

  EXPECT_EQ(shape(0), (std::vector<std::string>{"Destroy 10008 @2", "Invalidate @2", "Create 10010 @2"}));
  EXPECT_EQ(shape(1), (std::vector<std::string>{"Destroy 10010 @3", "Create 10004 @3", "Create 10006 @3",
                                                "Create 10005 @3", "Create 10007 @3", "Read 10005 @3",
                                                "Read 10007 @3", "Invalidate @3"}));
  EXPECT_EQ(shape(2), (std::vector<std::string>{"Destroy 10004 @2", "Destroy 10005 @2", "Destroy 10006 @2",
                                                "Destroy 10007 @2", "Create 10010 @2", "Invalidate @2"}));
  EXPECT_EQ(shape(3), (std::vector<std::string>{"Destroy 10010 @1", "Create 10008 @1", "Invalidate @1"}));
  // Install: only the Vessora folder is made before the folder page goes; the finish page comes, then the
  // install writes, beginning with its log; the repaint is asked for last.
  std::vector<std::string> install = shape(4);
  ASSERT_GE(install.size(), 10u);
  EXPECT_EQ(std::vector<std::string>(install.begin(), install.begin() + 9),
            (std::vector<std::string>{"Read 10005 @3", "Read 10007 @3",
                                      "CreateDirectoryA C:\\Program Files\\Vessora @3", "Destroy 10004 @3",
                                      "Destroy 10005 @3", "Destroy 10006 @3", "Destroy 10007 @3", "Create 10009 @4",
                                      "CreateFileA C:\\Program Files\\Vessora\\InstallLog.txt @4"}));
  EXPECT_EQ(install.back(), "Invalidate @4");
  // Nothing follows that repaint request in the move; Finish's move begins by destroying the window.
  EXPECT_EQ(world.log.Calls().at(world.log.FindCall("InvalidateRect", marks[4]) + 1).operation, "GetMessageA");
  EXPECT_EQ(world.log.Calls().at(world.log.FindCall("Message(w1,WM_COMMAND", marks[7]) + 1).Text(),
            "DestroyWindow(w1)");
  EXPECT_EQ(shape(5), std::vector<std::string>{"Beep @4"});
  EXPECT_TRUE(shape(6).empty());
  EXPECT_EQ(world.windows.BeepCount(), 1);
  EXPECT_EQ(world.log.CallTexts("MessageBeep"), std::vector<std::string>{"MessageBeep(0x40)"});
  EXPECT_EQ(shape(7).at(0), "Destroy 0 @4");  // Finish destroys the main window
  EXPECT_EQ(world.windows.MainWindow(), nullptr);
}

TEST(Paint, FillsTheUpdateAreaThenPageThenCaptions) {
  WizardWorld world;
  world.user.PushAction([&] {
    RECT part = {10, 20, 30, 40};
    world.log.InvalidateRect(world.Main(), &part, TRUE);
  });
  world.user.PushCommand(18);
  world.Run();
  ASSERT_EQ(world.windows.Paints().size(), 2u);
  // The whole client area: a white rectangle whose outline is the one-pixel frame, and the welcome page's
  // four pictures; then only the part asked for.
  const std::vector<RecordedDrawing>& full = world.windows.Paints()[0].drawings;
  ASSERT_EQ(full.size(), 5u);
  EXPECT_EQ(DrawingText(full[0]), "Rectangle WHITE_BRUSH 0,0,594,413");
  EXPECT_EQ(DrawingText(world.windows.Paints()[1].drawings.at(0)), "Rectangle WHITE_BRUSH 10,20,30,40");

  // Inside one paint: the brush, the rectangle, the page, the captions, the end.
  EXPECT_EQ(world.log.MissingFromOrder({"InvalidateRect(w1,10,20,30,40", "BeginPaint(w1)",
                                            "SelectObject(*,WHITE_BRUSH)", "Rectangle", "BitBlt",
                                            "SetWindowTextA(w2,\"E&xit\")", "EndPaint(w1"}),
            "");
}

TEST(Navigation, WithoutButtonsNothingBreaks) {
  WizardWorld world;
  world.windows.FailCreateOfClass("BUTTON");
  world.user.PushCommand(kNextButtonId);
  world.user.PushCommand(kBackButtonId);
  world.user.PushCommand(kBackButtonId);  // Exit
  EXPECT_EQ(world.Run(), 0);
  EXPECT_EQ(g_backButton, nullptr);
  EXPECT_EQ(world.windows.MainWindow(), nullptr);
}

}  // namespace
