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

TEST(WelcomePage, DrawsItsPicturesWhereTheLayoutPutsThemAndLetsEachGoAfterThePaint) {
  struct Case {
    int width, height, missingBitmap, linkLeft;
    std::vector<std::string> drawn;
  };
  for (const Case& c : {Case{594, 365, 0, 435,
                             {"BitBlt bitmap 110 414,16,578,126", "BitBlt bitmap 102 16,16,344,143",
                              "BitBlt bitmap 111 111,158,483,283", "BitBlt bitmap 112 221,292,373,331"}},
                        Case{700, 400, 0, 164 + 324,
                             {"BitBlt bitmap 110 520,16,684,126", "BitBlt bitmap 102 16,16,344,143",
                              "BitBlt bitmap 111 164,158,536,283", "BitBlt bitmap 112 274,292,426,331"}},
                        Case{594, 365, 111, 435,  // a missing bitmap is left out
                             {"BitBlt bitmap 110 414,16,578,126", "BitBlt bitmap 102 16,16,344,143",
                              "BitBlt bitmap 112 221,292,373,331"}}}) {
    SCOPED_TRACE(std::to_string(c.width) + " wide, missing " + std::to_string(c.missingBitmap));
    PageBench bench(c.width, c.height);
    bench.testResources.RemoveBitmap(c.missingBitmap);
    WelcomePage page;
    page.Create(bench.parent);
    EXPECT_EQ(Texts(bench.Paint(page)), c.drawn);
    EXPECT_EQ(bench.windows.FindChild(bench.parent, kLinkButtonId)->rect.left, c.linkLeft);
    // Each picture is loaded for this paint and let go again: its memory context, then the bitmap.
    EXPECT_EQ(bench.testResources.bitmapsLoaded, static_cast<int>(c.drawn.size()));
    std::vector<std::string> deleted;
    for (const std::string& drawing : c.drawn) deleted.push_back("DeleteObject(" + drawing.substr(7, 10) + ")");
    EXPECT_EQ(bench.log.CallTexts("DeleteObject"), deleted);
    EXPECT_EQ(bench.log.MissingFromOrder({"BitBlt(dc1,*,dc2[bitmap 110],0,0,0xcc0020)", "DeleteDC(dc2)",
                                               "DeleteObject(bitmap 110)"}),
              "");
    EXPECT_EQ(bench.windows.OpenDeviceContexts(), 0);
  }
}

// Create twice makes the button once; Destroy lets it go and a second Destroy does nothing; the next
// Create makes a new one, and the page's destructor lets that go.
template <typename Page>
void ExpectButtonMadeOnce(HWND Page::*button, const std::string& control) {
  SCOPED_TRACE(control);
  PageBench bench;
  {
    Page page;
    page.Create(bench.parent);
    page.Create(bench.parent);
    EXPECT_EQ(bench.Controls(), std::vector<std::string>{control});
    HWND first = page.*button;
    page.Destroy();
    EXPECT_EQ(page.*button, nullptr);
    EXPECT_TRUE(bench.Controls().empty());
    page.Destroy();
    EXPECT_EQ(bench.log.CallTexts("DestroyWindow").size(), 1u);
    page.Create(bench.parent);
    EXPECT_NE(page.*button, first);
    EXPECT_EQ(bench.Controls().size(), 1u);
  }
  EXPECT_TRUE(bench.Controls().empty());
}

TEST(PicturePages, EachButtonIsMadeOnceWhereTheLayoutPutsItAndGoesWithThePage) {
  ExpectButtonMadeOnce(&WelcomePage::linkButton, "BUTTON \"\" ex=0x20 style=0x40000001 435,190 14x14 id=10008 shown");
  ExpectButtonMadeOnce(&FinishPage::viewReadmeButton,
                       "BUTTON \"&View Readme\" ex=0x20 style=0x40000001 237,279 120x36 id=10009 shown");
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
    EXPECT_EQ(Texts(drawn), (std::vector<std::string>{"BitBlt bitmap 110 414,16,578,126",
                                                      "BitBlt bitmap 102 16,16,344,143",
                                                      "DrawTextA " + c.text + " 16,183,578,255"}));
    EXPECT_EQ(drawn.at(2).format, static_cast<UINT>(DT_CENTER));
    // The length passed is the text's own, without the terminator.
    EXPECT_NE(bench.log.CallTexts("DrawTextA").at(0).find("," + std::to_string(c.text.size()) +
                                                              ",16,183,578,255,0x1"),
              std::string::npos);
  }
}

}  // namespace
