#include "shell/navigation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/licence_page.h"
#include "pages/picture_pages.h"
#include "tests/shell/wizard_fixture.h"

namespace {

struct LayoutCase {
  int clientWidth, clientHeight;
  int buttonWidth, left, right, top;
};

class ButtonLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ButtonLayout, StripAndPageAreaFollowTheClientSize) {
  const LayoutCase& c = GetParam();
  WizardWorld world;
  world.windows.SetFrame(WindowFrame{0, 0, 0, 0});
  HWND window = world.windows.CreateWindowExA(0, "STATIC", "", 0, 0, 0, c.clientWidth, c.clientHeight, nullptr,
                                              nullptr, nullptr, nullptr);
  CreateNavigationButtons(window);
  std::string b = std::to_string(c.buttonWidth), y = std::to_string(c.top);
  EXPECT_EQ(world.windows.CallTexts("CreateWindowExA"),
            (std::vector<std::string>{
                "CreateWindowExA(0x0,\"STATIC\",\"\",0x0,0,0," + std::to_string(c.clientWidth) + "," +
                    std::to_string(c.clientHeight) + ",0,0) = w1",
                "CreateWindowExA(0x0,\"BUTTON\",\"Do &not accept\",0x40000001," + std::to_string(c.left) + "," + y +
                    "," + b + ",36,w1,10000) = w2",
                "CreateWindowExA(0x0,\"BUTTON\",\"&Accept\",0x40000000," + std::to_string(c.right) + "," + y + "," +
                    b + ",36,w1,10001) = w3"}));
  EXPECT_EQ(world.windows.CallTexts("ShowWindow"),
            (std::vector<std::string>{"ShowWindow(w2,5)", "ShowWindow(w3,5)"}));
  const RECT& area = WizardPage::PageArea();
  EXPECT_EQ(area.left, 0);
  EXPECT_EQ(area.top, 0);
  EXPECT_EQ(area.right, c.clientWidth);
  EXPECT_EQ(area.bottom, c.clientHeight - 48);
  EXPECT_EQ(world.windows.NameOf(g_backButton), "w2");
  EXPECT_EQ(world.windows.NameOf(g_nextButton), "w3");
}

INSTANTIATE_TEST_SUITE_P(Clients, ButtonLayout,
                         ::testing::Values(LayoutCase{594, 413, 148, 100, 346, 365},
                                           LayoutCase{600, 440, 150, 100, 350, 392},
                                           LayoutCase{400, 300, 100, 67, 233, 252},
                                           LayoutCase{1000, 500, 150, 300, 550, 452}));

TEST(ButtonLayout, TheMainWindowsClientAreaIsWhatTheLayoutUses) {
  WizardWorld world;  // the default frame leaves a client area of 594 by 413
  world.Run();
  EXPECT_GE(world.windows.FindCall("CreateWindowExA(0x0,\"BUTTON\",\"Do &not accept\",0x40000001,100,365,148,36,w1,"
                                   "10000) = w2"),
            0);
  EXPECT_GE(world.windows.FindCall("CreateWindowExA(0x0,\"BUTTON\",\"&Accept\",0x40000000,346,365,148,36,w1,10001) "
                                   "= w3"),
            0);
}

struct Captions {
  int page;
  std::string back, next;
  bool backEnabled;
  bool operator==(const Captions& o) const {
    return page == o.page && back == o.back && next == o.next && backEnabled == o.backEnabled;
  }
};

std::ostream& operator<<(std::ostream& out, const Captions& c) {
  return out << "{" << c.page << ", " << c.back << ", " << c.next << ", " << c.backEnabled << "}";
}

// Walks the whole wizard: forward, back to the start, forward again, install, finish.
void WalkTheWizard(WizardWorld& world) {
  for (int id : {kNextButtonId, kNextButtonId, kBackButtonId, kBackButtonId, kNextButtonId, kNextButtonId}) world.windows.PushClick(id);
  world.windows.PushTypeText(kDictionaryEditId, "C:\\Dict");
  world.windows.PushClick(kNextButtonId);  // Install
  world.windows.PushClick(kNextButtonId);  // Finish
}

TEST(Captions, FollowThePageAndNeverShowTheCreationCaptions) {
  WizardWorld world;
  world.c.MakeFolder("Dict");
  std::vector<Captions> seen;
  world.windows.onPaint = [&](const RecordedPaint&) {
    const RecordedWindow* back = world.windows.Window(g_backButton);
    seen.push_back(Captions{g_currentPage, world.Text(g_backButton), world.Text(g_nextButton), back && back->enabled});
  };
  WalkTheWizard(world);
  EXPECT_EQ(world.Run(), 0);
  EXPECT_EQ(seen, (std::vector<Captions>{{1, "E&xit", "&Next", true},
                                          {2, "&Back", "I &Accept", true},
                                          {3, "&Back", "&Install", true},
                                          {2, "&Back", "I &Accept", true},
                                          {1, "E&xit", "&Next", true},
                                          {2, "&Back", "I &Accept", true},
                                          {3, "&Back", "&Install", true},
                                          {4, "&Back", "&Finish", false}}));
  for (const std::string& text : world.windows.CallTexts("SetWindowTextA")) {
    EXPECT_EQ(text.find("Do &not accept"), std::string::npos) << text;
    EXPECT_EQ(text.find("\"&Accept\""), std::string::npos) << text;
  }
  EXPECT_FALSE(world.windows.InputExhausted());  // Finish ended it
}

// The window operations of one move, reduced to what its table orders: which control goes, which
// comes, the folder edits read, the repaint asked for, and the page number at each of them.
std::vector<std::string> MoveShape(const RecordingWindowSystem& windows, size_t from, size_t to,
                                   const std::vector<int>& pageAt) {
  std::vector<std::string> shape;
  auto idOf = [&](const std::string& name) {
    for (const RecordedWindow& w : windows.AllWindows())
      if (w.name == name) return std::to_string(w.id);
    return name;
  };
  for (size_t i = from; i < to && i < windows.Calls().size(); ++i) {
    const RecordedCall& call = windows.Calls()[i];
    std::string page = " @" + std::to_string(pageAt[i]);
    if (call.operation == "BeginPaint") break;
    if (call.operation == "CreateWindowExA") shape.push_back("Create " + idOf(call.result) + page);
    if (call.operation == "DestroyWindow") shape.push_back("Destroy " + idOf(call.arguments) + page);
    if (call.operation == "GetWindowTextA")
      shape.push_back("Read " + idOf(call.arguments.substr(0, call.arguments.find(','))) + page);
    if (call.operation == "InvalidateRect") shape.push_back("Invalidate" + page);
    if (call.operation == "MessageBeep") shape.push_back("Beep" + page);
  }
  return shape;
}

TEST(Moves, EachMoveDestroysCreatesAndInvalidatesInItsOrder) {
  WizardWorld world;
  world.c.MakeFolder("Dict");
  std::vector<int> pageAt;
  world.windows.onCall = [&](const RecordedCall&) { pageAt.push_back(g_currentPage); };
  std::vector<size_t> marks;
  auto mark = [&] { world.windows.PushAction([&] { marks.push_back(world.windows.Calls().size()); }); };
  for (int id : {kNextButtonId, kNextButtonId, kBackButtonId, kBackButtonId}) {
    mark();
    world.windows.PushClick(id);
  }
  world.windows.PushClick(kNextButtonId);
  world.windows.PushClick(kNextButtonId);
  world.windows.PushTypeText(kDictionaryEditId, "C:\\Dict");
  mark();
  world.windows.PushClick(kNextButtonId);  // Install
  mark();
  world.windows.PushCommand(kBackButtonId);  // Back on the finish page
  mark();
  world.windows.PushClick(kBackButtonId);  // the greyed-out button cannot be pressed
  mark();
  world.windows.PushClick(kNextButtonId);  // Finish
  world.Run();
  marks.push_back(world.windows.Calls().size());
  ASSERT_EQ(marks.size(), 9u);
  auto shape = [&](int move) { return MoveShape(world.windows, marks[move], marks[move + 1], pageAt); };

  EXPECT_EQ(shape(0), (std::vector<std::string>{"Destroy 10008 @2", "Invalidate @2", "Create 10010 @2"}));
  EXPECT_EQ(shape(1), (std::vector<std::string>{"Destroy 10010 @3", "Create 10004 @3", "Create 10006 @3",
                                                "Create 10005 @3", "Create 10007 @3", "Read 10005 @3",
                                                "Read 10007 @3", "Invalidate @3"}));
  EXPECT_EQ(shape(2), (std::vector<std::string>{"Destroy 10004 @2", "Destroy 10005 @2", "Destroy 10006 @2",
                                                "Destroy 10007 @2", "Create 10010 @2", "Invalidate @2"}));
  EXPECT_EQ(shape(3), (std::vector<std::string>{"Destroy 10010 @1", "Create 10008 @1", "Invalidate @1"}));
  std::vector<std::string> install = shape(4);
  ASSERT_GE(install.size(), 8u);
  EXPECT_EQ(std::vector<std::string>(install.begin(), install.begin() + 7),
            (std::vector<std::string>{"Read 10005 @3", "Read 10007 @3", "Destroy 10004 @3", "Destroy 10005 @3",
                                      "Destroy 10006 @3", "Destroy 10007 @3", "Create 10009 @4"}));
  EXPECT_EQ(install.back(), "Invalidate @4");
  EXPECT_EQ(shape(5), std::vector<std::string>{"Beep @4"});
  EXPECT_TRUE(shape(6).empty());
  EXPECT_EQ(world.windows.BeepCount(), 1);
  EXPECT_EQ(world.windows.CallTexts("MessageBeep"), std::vector<std::string>{"MessageBeep(0x40)"});
  EXPECT_EQ(shape(7).at(0), "Destroy 0 @4");  // Finish destroys the main window
  EXPECT_EQ(world.windows.MainWindow(), nullptr);
}

TEST(Paint, FillsTheUpdateAreaThenPageThenCaptions) {
  WizardWorld world;
  world.windows.PushAction([&] {
    RECT part = {10, 20, 30, 40};
    world.windows.InvalidateRect(world.Main(), &part, TRUE);
  });
  world.windows.PushCommand(18);
  world.Run();
  ASSERT_EQ(world.windows.Paints().size(), 2u);
  const RecordedPaint& full = world.windows.Paints()[0];
  ASSERT_FALSE(full.drawings.empty());
  // The whole client area: a white rectangle whose outline is the one-pixel frame.
  EXPECT_EQ(full.drawings[0].operation, "Rectangle");
  EXPECT_EQ(full.drawings[0].detail, "WHITE_BRUSH");
  EXPECT_EQ(full.drawings[0].rect.right, 594);
  EXPECT_EQ(full.drawings[0].rect.bottom, 413);
  EXPECT_EQ(full.drawings.size(), 5u);  // and the welcome page's four pictures

  const RecordedPaint& part = world.windows.Paints()[1];
  EXPECT_EQ(part.drawings[0].operation, "Rectangle");
  EXPECT_EQ(part.drawings[0].rect.left, 10);
  EXPECT_EQ(part.drawings[0].rect.top, 20);
  EXPECT_EQ(part.drawings[0].rect.right, 30);
  EXPECT_EQ(part.drawings[0].rect.bottom, 40);

  // Inside one paint: the brush, the rectangle, the page, the captions, the end.
  EXPECT_EQ(world.windows.MissingFromOrder({"InvalidateRect(w1,10,20,30,40", "BeginPaint(w1)",
                                            "SelectObject(*,WHITE_BRUSH)", "Rectangle", "BitBlt",
                                            "SetWindowTextA(w2,\"E&xit\")", "EndPaint(w1"}),
            "");
}

TEST(Navigation, WithoutButtonsNothingBreaks) {
  WizardWorld world;
  world.windows.FailCreateOfClass("BUTTON");
  world.windows.PushCommand(kNextButtonId);
  world.windows.PushCommand(kBackButtonId);
  world.windows.PushCommand(kBackButtonId);  // Exit
  EXPECT_EQ(world.Run(), 0);
  EXPECT_EQ(g_backButton, nullptr);
  EXPECT_EQ(world.windows.MainWindow(), nullptr);
}

const char kTemplates2000[] = "C:\\WINDOWS\\Application Data\\Microsoft\\Templates";

// The wizard's pages over the recording window system, as the program runs them.
class WizardTest : public ::testing::Test {
 protected:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return g_platform.windows->DefWindowProcA(window, message, wParam, lParam);
  }
  WizardTest() {
    world.LoadRegFile(VESSORA_TESTS "/install/data/office2000.reg");
    world.MakeFolder("C:\\Dict");
    world.MakeFolder(kTemplates2000);
    world.MakeFolder("C:\\Program Files");
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.lpszClassName = "TestMain";
    world.windows.RegisterClassA(&windowClass);
    main = world.windows.CreateWindowExA(0, "TestMain", "", WS_SYSMENU, 0, 0, 600, 440, nullptr, nullptr, nullptr,
                                         nullptr);
    WizardPage::SetPageArea(RECT{0, 0, 594, 365});
    g_pages[1] = new WelcomePage;
    g_pages[2] = new LicencePage;
    g_pages[3] = folder = new FolderPage;
    g_pages[4] = new FinishPage;
    g_currentPage = 1;
    g_pages[1]->Create(main);
  }
  ~WizardTest() override {
    for (WizardPage*& page : g_pages) {
      delete page;
      page = nullptr;
    }
    g_currentPage = 0;
  }
  // Index of the first call starting with prefix, from the last ClearCalls.
  int At(const std::string& prefix) { return world.windows.FindCall(prefix); }
  void ToFolderPage() {
    GoNext(main);
    GoNext(main);
    world.windows.ClearCalls();
  }

  WizardWorld world;
  HWND main = nullptr;
  FolderPage* folder = nullptr;
};

TEST_F(WizardTest, InstallMovesToTheFinishPageAndFinishClosesTheWindow) {
  ToFolderPage();
  GoNext(main);
  EXPECT_EQ(g_currentPage, 4);
  EXPECT_EQ(folder->dictionaryEdit, nullptr);
  EXPECT_NE(static_cast<FinishPage*>(g_pages[4])->viewReadmeButton, nullptr);
  EXPECT_STREQ(g_installFolder, "C:\\Program Files\\Vessora");
  EXPECT_TRUE(InstallSucceeded());
  ASSERT_FALSE(world.windows.Calls().empty());
  EXPECT_EQ(world.windows.Calls().back().operation, "InvalidateRect");
  EXPECT_TRUE(world.windows.MessageBoxes().empty());

  world.windows.ClearCalls();
  GoNext(main);
  EXPECT_EQ(world.windows.FindCall("DestroyWindow(" + world.windows.NameOf(main) + ")"), 0);
  EXPECT_EQ(world.windows.MainWindow(), nullptr);
}

TEST_F(WizardTest, EmptyOrOverlongFolderTextIsRefusedAndThePageStays) {
  ToFolderPage();
  for (std::string dictionary : {std::string(), "C:\\" + std::string(250, 'x')}) {
    world.windows.SetWindowTextA(folder->dictionaryEdit, dictionary.c_str());
    GoNext(main);
    EXPECT_EQ(g_currentPage, 3);
    ASSERT_FALSE(world.windows.MessageBoxes().empty());
    const RecordedMessageBox& box = world.windows.MessageBoxes().back();
    EXPECT_EQ(box.owner, main);
    EXPECT_EQ(box.text, "Please make sure you have enterd the file locations");
    EXPECT_EQ(box.caption, "Install Directories Not Specified");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_NE(folder->dictionaryEdit, nullptr);
    EXPECT_STREQ(g_installFolder, "C:\\Program Files");
  }
  EXPECT_FALSE(world.Exists("C:\\Program Files\\Vessora"));
  EXPECT_FALSE(g_installOutcome.ran);
}

TEST_F(WizardTest, ProductFolderThatCannotBeMadeKeepsTheFolderPage) {
  ToFolderPage();
  world.windows.SetWindowTextA(folder->installEdit, "C:\\No Such\\Parent");
  GoNext(main);
  EXPECT_EQ(g_currentPage, 3);
  ASSERT_EQ(world.windows.MessageBoxes().size(), 1u);
  const RecordedMessageBox& box = world.windows.MessageBoxes()[0];
  EXPECT_EQ(box.owner, main);
  EXPECT_EQ(box.text, "Could not create the Vessora folder in the chosen location. Please choose another folder.");
  EXPECT_EQ(box.caption, "Install Directory Not Created");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(At("DestroyWindow"), -1) << "the folder page is still there";
  EXPECT_FALSE(g_installOutcome.ran);
  EXPECT_FALSE(world.Exists("C:\\Dict\\vsqquor.dic"));

  // The user picks another folder and installs.
  world.windows.SetWindowTextA(folder->installEdit, "D:");
  GoNext(main);
  EXPECT_EQ(g_currentPage, 4);
  EXPECT_TRUE(world.Exists("D:\\Vessora\\Readme.htm"));
}

}  // namespace
