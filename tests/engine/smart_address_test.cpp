#include "engine/smart_address.h"

#include <gtest/gtest.h>

namespace paginor {
namespace {

std::string Turn(std::string_view url, std::string_view command,
                 const std::vector<std::string>& links = {}) {
  return TurnAddress(url, command, links).address;
}

TEST(SmartAddressTest, QueryPageNumbersCountUpAndDown) {
  EXPECT_EQ(Turn("http://s.example/list?id=3&page=4", "next"), "http://s.example/list?id=3&page=5");
  EXPECT_EQ(Turn("http://s.example/list?id=3&page=4", "prev"), "http://s.example/list?id=3&page=3");
  EXPECT_EQ(Turn("http://s.example/list?P=4&x=1", "next"), "http://s.example/list?P=5&x=1");
  EXPECT_EQ(Turn("http://s.example/f?kw=a&pn=2#top", "next"), "http://s.example/f?kw=a&pn=3");
  EXPECT_EQ(Turn("http://s.example/f?pg=9", "12"), "http://s.example/f?pg=12");
  // "pp=" and "page=x" are not page numbers; "top=" does not end in "p=".
  EXPECT_EQ(Turn("http://s.example/f?pp=2", "next"), "");
  EXPECT_EQ(Turn("http://s.example/f?page=x", "next"), "");
  EXPECT_EQ(Turn("http://s.example/f?top=2", "next"), "");
}

TEST(SmartAddressTest, NeverBelowTheFirstPageAndNeverTheLast) {
  EXPECT_EQ(Turn("http://s.example/list?page=1", "prev"), "");
  EXPECT_EQ(Turn("http://s.example/list?page=0", "prev"), "");
  EXPECT_EQ(Turn("http://s.example/list?page=0", "next"), "http://s.example/list?page=1");
  EXPECT_EQ(Turn("http://s.example/list?page=5", "last"), "");
  EXPECT_EQ(Turn("http://s.example/list?page=5", "5"), "");  // already there
  EXPECT_EQ(Turn("http://s.example/list?page=5", "0"), "");
  EXPECT_EQ(Turn("http://s.example/list?page=5", "first"), "http://s.example/list?page=1");
}

TEST(SmartAddressTest, OffsetsStepAsThePageLinksDo) {
  const std::string url = "http://s.example/album?id=4&start=40";
  const std::vector<std::string> links = {"http://s.example/album?id=4&start=20",
                                          "http://s.example/album?id=4&start=60#top",
                                          "http://s.example/album?id=5&start=7",
                                          "http://s.example/photo?id=4&start=41"};
  EXPECT_EQ(Turn(url, "next", links), "http://s.example/album?id=4&start=60");
  EXPECT_EQ(Turn(url, "prev", links), "http://s.example/album?id=4&start=20");
  EXPECT_EQ(Turn(url, "4", links), "http://s.example/album?id=4&start=60");
  EXPECT_EQ(Turn(url, "3", links), "");  // the page shown
  EXPECT_EQ(Turn(url, "1", links), "http://s.example/album?id=4&start=0");
  // Without page links a step of ten is assumed.
  EXPECT_EQ(Turn(url, "next"), "http://s.example/album?id=4&start=50");
  EXPECT_EQ(Turn("http://s.example/r?offset=5", "prev"), "");
}

TEST(SmartAddressTest, PathForms) {
  EXPECT_EQ(Turn("http://blog.example/page/3/", "next"), "http://blog.example/page/4/");
  EXPECT_EQ(Turn("http://blog.example/tag/x/page/3", "prev"), "http://blog.example/tag/x/page/2");
  EXPECT_EQ(Turn("http://f.example/thread-1024-3.html", "next"), "http://f.example/thread-1024-4.html");
  EXPECT_EQ(Turn("http://f.example/a/77_3.htm", "prev"), "http://f.example/a/77_2.htm");
  EXPECT_EQ(Turn("http://f.example/a/index_4.shtml", "next"), "http://f.example/a/index_5.shtml");
  // Years and ids are not page numbers; neither is a number without a separator.
  EXPECT_EQ(Turn("http://n.example/news-2019.html", "next"), "");
  EXPECT_EQ(Turn("http://n.example/book/88/2.html", "next"), "");
  EXPECT_EQ(Turn("http://n.example/page-3.php", "next"), "");
}

TEST(SmartAddressTest, ZeroPaddingIsKept) {
  EXPECT_EQ(Turn("http://c.example/ch-009.html", "next"), "http://c.example/ch-010.html");
  EXPECT_EQ(Turn("http://c.example/list?p=09", "prev"), "http://c.example/list?p=08");
  EXPECT_EQ(Turn("http://c.example/ch-99.html", "next"), "http://c.example/ch-100.html");
}

TEST(SmartAddressTest, TheFirstPageDropsItsNumberWhereTheSiteHasNone) {
  EXPECT_EQ(Turn("http://blog.example/page/3/", "first"), "http://blog.example/");
  EXPECT_EQ(Turn("http://blog.example/page/2/", "prev"), "http://blog.example/");
  EXPECT_EQ(Turn("http://s.example/a/index_3.html", "1"), "http://s.example/a/index.html");
  EXPECT_EQ(Turn("http://s.example/set/77_3.html", "first"), "http://s.example/set/77.html");
  // A link to a numbered first page says the site has one.
  EXPECT_EQ(Turn("http://s.example/set/77_3.html", "first", {"http://s.example/set/77_1.html"}),
            "http://s.example/set/77_1.html");
  // Dashes and queries keep the number unless the page links to the bare address.
  EXPECT_EQ(Turn("http://f.example/thread-8-3.html", "first"), "http://f.example/thread-8-1.html");
  EXPECT_EQ(Turn("http://f.example/thread-8-3.html", "first", {"http://f.example/thread-8.html"}),
            "http://f.example/thread-8.html");
  EXPECT_EQ(Turn("http://s.example/l?page=3&x=1", "first", {"http://s.example/l?x=1"}),
            "http://s.example/l?x=1");
  EXPECT_EQ(Turn("http://s.example/l?page=3", "first", {"http://s.example/l"}), "http://s.example/l");
}

TEST(SmartAddressTest, StepsToAnotherAddressOfTheSameList) {
  const std::vector<std::string> links = {"http://s.example/r?q=a&start=20", "http://s.example/r?q=a&start=60"};
  const struct {
    std::string_view url, href;
    std::optional<long> steps;
  } cases[] = {
      {"http://s.example/r?q=a&start=40", "http://s.example/r?q=a&start=60#x", 1},
      {"http://s.example/r?q=a&start=40", "http://s.example/r?q=a&start=0", -2},
      {"http://s.example/r?q=a&start=40", "http://s.example/r?q=a&start=50", std::nullopt},  // between pages
      {"http://s.example/r?q=a&start=40", "http://s.example/r?q=b&start=60", std::nullopt},
      {"http://blog.example/page/2/", "http://blog.example/", -1},
      {"http://blog.example/", "http://blog.example/page/2/", 1},
      {"http://f.example/t-8-3.html", "http://f.example/t-8-4.html", 1},
      {"http://f.example/t-8-3.html", "http://f.example/t-9-4.html", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(AddressSteps(c.url, links).To(c.href), c.steps) << c.url << " to " << c.href;
  EXPECT_EQ(AddressSteps("http://s.example/r?q=a&start=40", links).CurrentPage(), 3);
  EXPECT_EQ(AddressSteps("http://blog.example/", {}).CurrentPage(), 1);
}

TEST(SmartAddressTest, QueryBeforePathAndReasonsWhenNothing) {
  EXPECT_EQ(Turn("http://s.example/t-5.html?page=2", "next"), "http://s.example/t-5.html?page=3");
  const AddressTurn none = TurnAddress("http://s.example/about", "next", {});
  EXPECT_EQ(none.address, "");
  EXPECT_EQ(none.reason, "the address holds no page number");
}

}  // namespace
}  // namespace paginor
