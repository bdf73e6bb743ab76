#include "pages/licence_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/pages/page_bench.h"

namespace {

TEST(LicencePage, FillsThePageAreaBesideTheScrollBar) {
  struct Case {
    int scrollBar;
    std::string control;
  };
  for (const Case& c : {Case{16, "EDIT \"x\" ex=0x0 style=0x40A00844 16,16 570x333 id=10010 shown"},
                        Case{20, "EDIT \"x\" ex=0x0 style=0x40A00844 16,16 566x333 id=10010 shown"}}) {
    PageBench bench;
    bench.windows.SetScrollBarWidth(c.scrollBar);
    bench.testResources.SetItem("LICENSE.TXT", "x");
    LicencePage page;
    page.Create(bench.parent);
    EXPECT_EQ(bench.Controls(), std::vector<std::string>{c.control});
  }
}

TEST(LicencePage, ShowsTheItemsBytesExactlyAndNothingBeyond) {
  std::string licence;
  for (int line = 0; line < 58; ++line) licence += "Clause\t" + std::to_string(line) + " \xE9t\xE9 text\r\n";
  struct Case {
    std::string item, shown;
  };
  for (const Case& c : {Case{licence, licence},                            // no terminator in the item
                        Case{std::string("ab\0cd", 5), "ab"},              // up to an early zero
                        Case{std::string("\0rest", 5), ""},                // zero at the start
                        Case{"", ""}}) {                                   // an empty item
    PageBench bench;
    bench.testResources.SetItem("LICENSE.TXT", c.item);
    LicencePage page;
    page.Create(bench.parent);
    ASSERT_NE(page.licenceEdit, nullptr);
    EXPECT_EQ(bench.Text(page.licenceEdit), c.shown);
    EXPECT_TRUE(bench.windows.Window(page.licenceEdit)->visible);
  }
}

TEST(LicencePage, DrawsNothingAndAMissingItemLeavesTheControlHiddenAndEmptyUntilTheNextVisit) {
  PageBench bench;
  bench.testResources.RemoveItem("LICENSE.TXT");
  LicencePage page;
  page.Destroy();  // nothing made yet: nothing to destroy
  EXPECT_EQ(bench.windows.FindCall("DestroyWindow"), -1);
  EXPECT_TRUE(bench.Paint(page).empty());
  page.Create(bench.parent);
  EXPECT_EQ(bench.Controls(), std::vector<std::string>{
                                  "EDIT \"\" ex=0x0 style=0x40A00844 16,16 570x333 id=10010 hidden"});
  page.Create(bench.parent);  // same visit: nothing changes
  EXPECT_EQ(bench.Controls().size(), 1u);

  bench.testResources.SetItem("LICENSE.TXT", "Now here");
  page.Destroy();
  EXPECT_EQ(page.licenceEdit, nullptr);
  page.Create(bench.parent);
  EXPECT_EQ(bench.Text(page.licenceEdit), "Now here");

  bench.testResources.failLoad = true;
  page.Destroy();
  page.Create(bench.parent);
  EXPECT_EQ(bench.Text(page.licenceEdit), "");
  EXPECT_FALSE(bench.windows.Window(page.licenceEdit)->visible);
}

}  // namespace
