#include "engine/html/html_browser.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "engine/html/html_parse.h"

namespace paginor {
namespace {

using ::testing::ElementsAre;
using Kind = BrowserAction::Kind;

std::string FirstLinkText(HtmlBrowser& browser) {
  auto document = browser.GetDocument();
  if (document == nullptr) return "<no document>";
  auto link = document->Links()->Item(0);
  return link != nullptr ? link->OuterText().value_or("<failed>") : "<no link>";
}

TEST(HtmlBrowser, EmptyTabHasNoAddressNoDocumentNoHistory) {
  HtmlBrowser browser;
  EXPECT_EQ(browser.LocationUrl(), std::nullopt);
  EXPECT_EQ(browser.GetDocument(), nullptr);
  EXPECT_FALSE(browser.GoBack());
  EXPECT_FALSE(browser.GoForward());
  EXPECT_THAT(browser.Actions(), ElementsAre(BrowserAction{Kind::WentBack, "", "", ""},
                                             BrowserAction{Kind::WentForward, "", "", ""}));
}

TEST(HtmlBrowser, HistoryShowsEarlierAndLaterPagesAgain) {
  HtmlBrowser browser;
  ASSERT_EQ(browser.Open("http://s.example/1", "<a href=2>to two</a>"), "");
  ASSERT_EQ(browser.Open("http://s.example/2", "<a href=3>to three</a>"), "");
  EXPECT_EQ(browser.LocationUrl(), "http://s.example/2");
  EXPECT_EQ(browser.GetDocument()->Url(), "http://s.example/2");

  EXPECT_TRUE(browser.GoBack());
  EXPECT_EQ(browser.LocationUrl(), "http://s.example/1");
  EXPECT_EQ(FirstLinkText(browser), "to two");
  EXPECT_FALSE(browser.GoBack());
  EXPECT_TRUE(browser.GoForward());
  EXPECT_EQ(FirstLinkText(browser), "to three");
  EXPECT_FALSE(browser.GoForward());
  EXPECT_THAT(browser.Actions(),
              ElementsAre(BrowserAction{Kind::WentBack, "http://s.example/1", "", ""},
                          BrowserAction{Kind::WentBack, "", "", ""},
                          BrowserAction{Kind::WentForward, "http://s.example/2", "", ""},
                          BrowserAction{Kind::WentForward, "", "", ""}));

  // Opening a page after going back drops the pages ahead, as a browser does.
  browser.ClearActions();
  EXPECT_TRUE(browser.GoBack());
  ASSERT_EQ(browser.Open("http://s.example/9", "<a href=x>nine</a>"), "");
  EXPECT_FALSE(browser.GoForward());
  EXPECT_TRUE(browser.GoBack());
  EXPECT_EQ(browser.LocationUrl(), "http://s.example/1");
}

TEST(HtmlBrowser, NavigationAndClicksAreRecordedNotFollowed) {
  HtmlBrowser browser;
  ASSERT_EQ(browser.Open("http://s.example/a/1.html", "<a href=2.html>下一页</a>"), "");
  EXPECT_TRUE(browser.Navigate("http://s.example/a/7.html", "_self"));
  EXPECT_TRUE(browser.GetDocument()->Links()->Item(0)->Click());
  EXPECT_EQ(browser.LocationUrl(), "http://s.example/a/1.html");
  EXPECT_THAT(
      browser.Actions(),
      ElementsAre(BrowserAction{Kind::Navigated, "http://s.example/a/7.html", "", "_self"},
                  BrowserAction{Kind::FollowedLink, "http://s.example/a/2.html", "下一页", ""}));
}

TEST(HtmlBrowser, RefusedPageLeavesTheTabAsItWas) {
  HtmlBrowser browser;
  ASSERT_EQ(browser.Open("http://s.example/1", "<a href=2>two</a>"), "");
  const std::string problem =
      browser.Open("http://s.example/big", std::string(kMaxPageBytes + 1, ' '));
  EXPECT_NE(problem, "");
  EXPECT_EQ(browser.LocationUrl(), "http://s.example/1");
  EXPECT_EQ(FirstLinkText(browser), "two");
  EXPECT_FALSE(browser.GoBack());
}

}  // namespace
}  // namespace paginor
