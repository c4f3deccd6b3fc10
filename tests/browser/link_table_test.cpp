// The link table survives its text form: what the Linux build writes is what the
// Windows test browser serves, escapes and missing parents included.

#include <gtest/gtest.h>

#include "browser/link_table.h"

namespace paginor {
namespace {

TEST(LinkTable, RoundTripsEveryByteThatMatters) {
  LinkTable table{"http://a/\t?", {}};
  table.links.push_back({"下一页\n", "<a href=\"x\">\\下一页\r</a>", "http://a/x", "p\ttext", "<p>\\-</p>"});
  table.links.push_back({"", "<area>", "", std::nullopt, ""});
  table.links.push_back({"\\-", "", "", "\\-", ""});
  std::string error;
  const std::optional<LinkTable> back = ParseLinkTable(FormatLinkTable(table), error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(back->url, table.url);
  EXPECT_EQ(back->links, table.links);
}

TEST(LinkTable, RefusesWhatIsNoTable) {
  std::string error;
  EXPECT_FALSE(ParseLinkTable("", error));
  EXPECT_FALSE(ParseLinkTable("a\tb\tc\td\te\n", error));
  EXPECT_FALSE(ParseLinkTable("#url\tx\na\tb\n", error));
  EXPECT_EQ(error, "line 2: expected 5 fields, found 2");
  EXPECT_FALSE(ParseLinkTable("#url\tx\na\\q\tb\tc\td\te\n", error));
  EXPECT_EQ(error, "line 2: bad escape in field 1");
  EXPECT_TRUE(ParseLinkTable("#url\tx\r\n", error));
}

}  // namespace
}  // namespace paginor
