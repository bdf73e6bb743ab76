#include "pages/licence_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/pages/page_bench.h"

namespace {

TEST(LicencePage, ShowsTheItemsBytesExactlyAndNothingBeyondFillingThePageAreaBesideTheScrollBar) {
  std::string licence;
  for (int line = 0; line < 58; ++line) licence += "Clause\t" + std::to_string(line) + " \xE9t\xE9 text\r\n";
  struct Case {
    int scrollBar;
    std::string item, shown, size;
  };
  for (const Case& c : {Case{16, licence, licence, "570x333"},                // no terminator in the item
                        Case{16, std::string("ab\0cd", 5), "ab", "570x333"},  // up to an early zero
                        Case{16, std::string("\0rest", 5), "", "570x333"},    // zero at the start
                        Case{16, "", "", "570x333"},                          // an empty item
                        Case{20, "x", "x", "566x333"}}) {                     // a wider scroll bar
    PageBench bench;
    bench.windows.SetScrollBarWidth(c.scrollBar);
    bench.testResources.SetItem("LICENSE.TXT", c.item);
    LicencePage page;
    page.Create(bench.parent);
    EXPECT_EQ(bench.Controls(), std::vector<std::string>{"EDIT \"" + c.shown + "\" ex=0x0 style=0x40a00844 16,16 " +
                                                         c.size + " id=10010 shown"});
  }
}

TEST(LicencePage, DrawsNothingAndAMissingItemLeavesTheControlHiddenAndEmptyUntilTheNextVisit) {
  PageBench bench;
  bench.testResources.RemoveItem("LICENSE.TXT");
  LicencePage page;
  page.Destroy();  // nothing made yet: nothing to destroy
  EXPECT_EQ(bench.log.FindCall("DestroyWindow"), -1);
  EXPECT_TRUE(bench.Paint(page).empty());
  page.Create(bench.parent);
  EXPECT_EQ(bench.Controls(), std::vector<std::string>{
                                  "EDIT \"\" ex=0x0 style=0x40a00844 16,16 570x333 id=10010 hidden"});
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
