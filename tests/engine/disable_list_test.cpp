#include "engine/disable_list.h"

#include <gtest/gtest.h>

#include "engine/browser_kinds.h"

namespace paginor {
namespace {

TEST(DisableList, PrefixMatchIsExactAndCaseSensitive) {
  const std::vector<std::string> lines{"http://s.example/forum/"};
  EXPECT_TRUE(IsDisabledUrl("http://s.example/forum/t-1.html", lines));
  EXPECT_TRUE(IsDisabledUrl("http://s.example/forum/", lines));
  EXPECT_FALSE(IsDisabledUrl("http://s.example/news/1.html", lines));
  EXPECT_FALSE(IsDisabledUrl("HTTP://S.EXAMPLE/forum/t-1.html", lines));
  EXPECT_FALSE(IsDisabledUrl("http://s.example/foru", lines));
}

TEST(DisableList, LinesAreTrimmedOfBlanksAndControlCharacters) {
  EXPECT_TRUE(IsDisabledUrl("http://a.example/x", {"  http://a.example/"}));
  EXPECT_TRUE(IsDisabledUrl("http://a.example/x", {"\thttp://a.example/\r"}));
  EXPECT_TRUE(IsDisabledUrl("http://a.example/x", {"http://a.example/ \x01"}));
  // Inner blanks are part of the prefix.
  EXPECT_FALSE(IsDisabledUrl("http://a.example/x", {"http://a. example/"}));
}

TEST(DisableList, CommentAndEmptyLinesNeverDisable) {
  const std::vector<std::string> lines{"", "   ", "\r", "#http://a.example/", "  #http://b.example/"};
  EXPECT_FALSE(IsDisabledUrl("http://a.example/x", lines));
  EXPECT_FALSE(IsDisabledUrl("http://b.example/x", lines));
  EXPECT_FALSE(IsDisabledUrl("", lines));
  EXPECT_FALSE(IsDisabledUrl("#http://a.example/", lines));
}

TEST(DisableList, AnyLineInTheListDisables) {
  const std::vector<std::string> lines{"# 论坛", "http://a.example/", "http://论坛.example/"};
  EXPECT_TRUE(IsDisabledUrl("http://论坛.example/t/2", lines));
  EXPECT_TRUE(IsDisabledUrl("http://a.example/", lines));
  EXPECT_FALSE(IsDisabledUrl("http://c.example/", lines));
  EXPECT_FALSE(IsDisabledUrl("http://c.example/", {}));
}

TEST(DisableList, AnEmptyAddressMatchesNoLine) {
  EXPECT_FALSE(IsDisabledUrl("", {"h", " x "}));
}

TEST(BrowserKinds, ChoiceIndexSelectsTheKind) {
  EXPECT_EQ(BrowserKindForChoice(0), "ie");
  EXPECT_EQ(BrowserKindForChoice(1), "360");
  EXPECT_EQ(BrowserKindForChoice(2), "sogou");
  EXPECT_EQ(BrowserKindForChoice(3), "tt");
  EXPECT_EQ(BrowserKindForChoice(4), "world");
  EXPECT_EQ(BrowserKindForChoice(5), "maxthon");
  EXPECT_EQ(BrowserKindForChoice(-1), "");
  EXPECT_EQ(BrowserKindForChoice(6), "modern");
  EXPECT_EQ(BrowserKindForChoice(7), "");
  EXPECT_EQ(BrowserKindForChoice(-7), "");
}

}  // namespace
}  // namespace paginor
