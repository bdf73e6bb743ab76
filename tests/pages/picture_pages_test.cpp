#include "pages/picture_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/pages/page_bench.h"

namespace {

std::vector<std::string> Texts(const std::vector<RecordedDrawing>& drawings) {
  std::vector<std::string> texts;
  for (const RecordedDrawing& d : drawings) texts.push_back(DrawingText(d));
  return texts;
}

TEST(WelcomePage, DrawsItsFourPicturesWhereTheLayoutPutsThem) {
  PageBench bench;
  WelcomePage page;
  EXPECT_EQ(Texts(bench.Paint(page)),
            (std::vector<std::string>{"BitBlt bitmap 110 414,16,578,126", "BitBlt bitmap 102 16,16,344,143",
                                      "BitBlt bitmap 111 111,158,483,283", "BitBlt bitmap 112 221,292,373,331"}));
  // Each picture is loaded for this paint and let go again: its memory context, then the bitmap.
  EXPECT_EQ(bench.testResources.bitmapsLoaded, 4);
  EXPECT_EQ(bench.windows.CallTexts("DeleteObject"),
            (std::vector<std::string>{"DeleteObject(bitmap 110)", "DeleteObject(bitmap 102)",
                                      "DeleteObject(bitmap 111)", "DeleteObject(bitmap 112)"}));
  EXPECT_EQ(bench.windows.MissingFromOrder({"BitBlt(dc1,414,16,164,110,dc2[bitmap 110],0,0,0xcc0020)",
                                             "DeleteDC(dc2)", "DeleteObject(bitmap 110)"}),
            "");
  EXPECT_EQ(bench.windows.OpenDeviceContexts(), 0);
}

TEST(WelcomePage, LinkButtonSitsBesideTheAddressAndIsMadeOnce) {
  PageBench bench;
  WelcomePage page;
  page.Create(bench.parent);
  page.Create(bench.parent);
  EXPECT_EQ(bench.Controls(),
            std::vector<std::string>{"BUTTON \"\" ex=0x20 style=0x40000001 435,190 14x14 id=10008 shown"});
  HWND first = page.linkButton;
  page.Destroy();
  EXPECT_EQ(page.linkButton, nullptr);
  EXPECT_TRUE(bench.Controls().empty());
  page.Destroy();  // nothing left to destroy
  EXPECT_EQ(bench.windows.CallTexts("DestroyWindow").size(), 1u);
  page.Create(bench.parent);
  EXPECT_NE(page.linkButton, first);
  EXPECT_EQ(bench.Controls().size(), 1u);
}

TEST(WelcomePage, LayoutFollowsThePageWidth) {
  PageBench bench(700, 400);
  WelcomePage page;
  page.Create(bench.parent);
  EXPECT_EQ(Texts(bench.Paint(page)),
            (std::vector<std::string>{"BitBlt bitmap 110 520,16,684,126", "BitBlt bitmap 102 16,16,344,143",
                                      "BitBlt bitmap 111 164,158,536,283", "BitBlt bitmap 112 274,292,426,331"}));
  EXPECT_EQ(bench.windows.FindChild(bench.parent, kLinkButtonId)->rect.left, 164 + 324);
}

TEST(PicturePages, AMissingBitmapIsLeftOutWithoutLeaks) {
  PageBench bench;
  bench.testResources.RemoveBitmap(111);
  WelcomePage page;
  EXPECT_EQ(Texts(bench.Paint(page)),
            (std::vector<std::string>{"BitBlt bitmap 110 414,16,578,126", "BitBlt bitmap 102 16,16,344,143",
                                      "BitBlt bitmap 112 221,292,373,331"}));
  EXPECT_EQ(bench.windows.CallTexts("DeleteObject").size(), 3u);
  EXPECT_EQ(bench.windows.OpenDeviceContexts(), 0);
}

TEST(FinishPage, SaysCompleteOnlyAfterAnInstallWithoutFailures) {
  const std::string complete = "Installation complete.\n\nThank you for installing Vessora.";
  const std::string errors = "Installation finished with errors.\n\nSee InstallLog.txt in the Vessora folder.";
  struct Case {
    InstallOutcome outcome;
    std::string text;
  };
  for (const Case& c : {Case{{true, 0}, complete}, Case{{true, 3}, errors}, Case{{false, 0}, errors}}) {
    PageBench bench;
    g_installOutcome = c.outcome;
    FinishPage page;
    std::vector<RecordedDrawing> drawn = bench.Paint(page);
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(DrawingText(drawn[0]), "BitBlt bitmap 110 414,16,578,126");
    EXPECT_EQ(DrawingText(drawn[1]), "BitBlt bitmap 102 16,16,344,143");
    EXPECT_EQ(DrawingText(drawn[2]), "DrawTextA " + c.text + " 16,183,578,255");
    EXPECT_EQ(drawn[2].format, static_cast<UINT>(DT_CENTER));
    // The length passed is the text's own, without the terminator.
    EXPECT_NE(bench.windows.CallTexts("DrawTextA").at(0).find("," + std::to_string(c.text.size()) + ",16,183,578,255,0x1"),
              std::string::npos);
  }
}

TEST(FinishPage, ViewReadmeButtonIsCentredAndMadeOnce) {
  PageBench bench;
  FinishPage page;
  page.Create(bench.parent);
  page.Create(bench.parent);
  EXPECT_EQ(bench.Controls(), std::vector<std::string>{
                                  "BUTTON \"&View Readme\" ex=0x20 style=0x40000001 237,279 120x36 id=10009 shown"});
  page.Destroy();
  EXPECT_EQ(page.viewReadmeButton, nullptr);
  EXPECT_TRUE(bench.Controls().empty());
}

TEST(PicturePages, DestructorsLetGoOfTheirButtons) {
  PageBench bench;
  {
    WelcomePage welcome;
    FinishPage finish;
    welcome.Create(bench.parent);
    finish.Create(bench.parent);
    EXPECT_EQ(bench.Controls().size(), 2u);
  }
  EXPECT_TRUE(bench.Controls().empty());
}

}  // namespace
