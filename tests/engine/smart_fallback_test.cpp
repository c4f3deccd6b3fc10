#include "engine/smart_fallback.h"

#include <gtest/gtest.h>

#include "engine/fakes.h"

namespace paginor {
namespace {

using testing::FakeBrowser;
using testing::FakeLinkData;
using testing::MakeLink;
using testing::MakePage;

constexpr const char* kPage = "http://s.example/t/2.html";

std::shared_ptr<FakeLinkData> RelLink(const std::string& rel, const std::string& href) {
  auto link = MakeLink("", href);
  link->attributes["rel"] = rel;
  return link;
}

struct Page {
  std::shared_ptr<testing::FakeBrowserData> data;
  explicit Page(std::vector<std::shared_ptr<FakeLinkData>> links, std::string url = kPage)
      : data(MakePage(url, std::move(links))) {}

  SmartDecision Decide(std::string_view command, bool explain = false) {
    FakeBrowser browser(data);
    auto document = browser.GetDocument();
    auto links = document->Links();
    const long count = links->Length().value_or(0);
    return DecideSmart(command, *document, links.get(), count, *data->document->url, explain);
  }
};

std::vector<std::shared_ptr<FakeLinkData>> Pagination(int current, int last) {
  std::vector<std::shared_ptr<FakeLinkData>> links;
  for (int i = 1; i <= last; ++i) {
    if (i != current) links.push_back(MakeLink(std::to_string(i), "http://s.example/t/" + std::to_string(i) + ".html"));
  }
  return links;
}

TEST(SmartFallbackTest, RelLinksComeFirstInDocumentOrder) {
  Page page({MakeLink("下一章", "http://s.example/t/3.html"), RelLink("nofollow NEXT", "http://s.example/t/4.html")});
  page.data->document->linkTags = {RelLink("stylesheet", "/a.css"), RelLink("next", "http://s.example/t/5.html")};
  SmartDecision decision = page.Decide("next");
  EXPECT_EQ(decision.action, SmartDecision::Action::Navigate);
  EXPECT_EQ(decision.address, "http://s.example/t/5.html");
  EXPECT_EQ(decision.logLine, "    智能翻页,rel=next: http://s.example/t/5.html");

  // Without <link> elements the <a rel> is clicked before any word counts.
  page.data->document->linkTags.clear();
  decision = page.Decide("next");
  EXPECT_EQ(decision.action, SmartDecision::Action::ClickLink);
  EXPECT_EQ(decision.linkIndex, 1);

  // "prev" and "previous", "first" and "start" name the same pages.
  page.data->document->linkTags = {RelLink("Previous", "http://s.example/t/1.html"),
                                   RelLink("start", "http://s.example/t/0.html")};
  EXPECT_EQ(page.Decide("prev").address, "http://s.example/t/1.html");
  EXPECT_EQ(page.Decide("first").address, "http://s.example/t/0.html");
  // "nextpage" is not the token "next", and page numbers have no rel.
  page.data->document->linkTags = {RelLink("nextpage", "http://s.example/t/9.html")};
  EXPECT_NE(page.Decide("next").address, "http://s.example/t/9.html");
  EXPECT_EQ(page.Decide("7").action, SmartDecision::Action::None);
}

TEST(SmartFallbackTest, ARelLinkToThePageItselfNeverWins) {
  Page page({MakeLink("下一章", "http://s.example/t/3.html")});
  page.data->document->linkTags = {RelLink("next", "http://s.example/t/2.html#comments")};
  const SmartDecision decision = page.Decide("next", true);
  EXPECT_EQ(decision.action, SmartDecision::Action::ClickLink);
  EXPECT_EQ(decision.linkIndex, 0);
  ASSERT_FALSE(decision.candidates.empty());
  EXPECT_TRUE(decision.candidates.front().excluded);
}

TEST(SmartFallbackTest, WordsScoreAndTiesGoToTheAddressOneStepOnThenTheFirstLink) {
  // Top and bottom pagers, each with the whole word: the first one is clicked.
  Page page({MakeLink("下一章", "http://s.example/t/3.html"), MakeLink("下一章：风起", "http://s.example/t/x.html"),
             MakeLink("下一章", "http://s.example/t/3.html")});
  SmartDecision decision = page.Decide("next");
  EXPECT_EQ(decision.linkIndex, 0);
  EXPECT_EQ(decision.logLine, "    智能翻页,链接文字: 下一章");
  EXPECT_EQ(decision.address, "http://s.example/t/3.html");
  // The whole word beats the later link that only begins with it.
  page.data->document->links.erase(page.data->document->links.begin());
  EXPECT_EQ(page.Decide("next").linkIndex, 1);
  // Equal arrows elsewhere: the one whose address is this page's moved one step on.
  Page arrows({MakeLink("›", "http://s.example/story/9"), MakeLink("›", "http://s.example/list?page=3"),
               MakeLink("›", "http://s.example/week/49")},
              "http://s.example/list?page=2");
  decision = arrows.Decide("next", true);
  EXPECT_EQ(decision.linkIndex, 1);
  EXPECT_EQ(decision.candidates[1].continuity, "continues this address, 1 page on");
}

TEST(SmartFallbackTest, ThePaginationBlockBeatsLinksElsewhere) {
  std::vector<std::shared_ptr<FakeLinkData>> links = {MakeLink("Next", "http://s.example/story/9")};
  for (int i = 0; i < 6; ++i) links.push_back(MakeLink("reply " + std::to_string(i), "#r"));
  for (auto& link : Pagination(2, 4)) links.push_back(link);
  links.push_back(MakeLink("Next", "http://s.example/t/3.html"));
  links.push_back(MakeLink("footer", "/about"));
  links.push_back(MakeLink("Next", "http://s.example/story/10"));
  Page page(links);
  const SmartDecision decision = page.Decide("next", true);
  EXPECT_EQ(decision.address, "http://s.example/t/3.html");
}

TEST(SmartFallbackTest, ThePagerElementHoldsTheBlockAndShowsTheCurrentPage) {
  // "1 2 3 4 »" with 3 as text, then a box whose heading ends in "»": beside the pager's
  // links, outside its element.
  auto pager = MakeLink("1 2 3 4 »");
  auto box = MakeLink("Most read »");
  std::vector<std::shared_ptr<FakeLinkData>> links;
  for (const auto& [text, href] : {std::pair{"1", "1.html"}, {"2", "2.html"}, {"4", "4.html"}, {"»", "4.html"}}) {
    links.push_back(MakeLink(text, "http://s.example/t/" + std::string(href)));
    links.back()->parent = pager;
    pager->outerHtml = *pager->outerHtml + *links.back()->outerHtml;
  }
  links.push_back(MakeLink("»", "http://s.example/box"));
  links.back()->parent = box;
  box->outerHtml = "<h3>Most read " + *links.back()->outerHtml + "</h3>";
  Page page(links, "http://s.example/t/3.html");
  SmartDecision decision = page.Decide("next", true);
  EXPECT_EQ(decision.linkIndex, 3);
  EXPECT_EQ(decision.candidates.back().block, "outside the pagination block");
  decision = page.Decide("prev", true);
  EXPECT_EQ(decision.address, "http://s.example/t/2.html");
  EXPECT_EQ(decision.candidates.front().reason, "the page before the current page 3 (shown unlinked in the pager)");
  // A link that says it is the current page.
  links[1]->attributes["aria-current"] = "page";
  EXPECT_EQ(page.Decide("prev").address, "http://s.example/t/1.html");
  // A template that marks every number alike marks none: the text shows 3 again.
  for (int k = 0; k < 3; ++k) links[k]->attributes["aria-current"] = "page";
  EXPECT_EQ(page.Decide("prev").address, "http://s.example/t/2.html");
}

TEST(SmartFallbackTest, LinksToTheCurrentPageOrRepeatedPerItemNeverWin) {
  Page page({MakeLink("More", "http://s.example/p/1"), MakeLink("More", "http://s.example/p/2"),
             MakeLink("下一页", "http://s.example/t/2.html#top"), MakeLink("›", "http://s.example/t/3.html")});
  const SmartDecision decision = page.Decide("next", true);
  EXPECT_EQ(decision.linkIndex, 3);
  int excluded = 0;
  for (const SmartCandidate& c : decision.candidates) excluded += c.excluded ? 1 : 0;
  EXPECT_EQ(excluded, 3);
}

TEST(SmartFallbackTest, AnImageLinkCountsByItsAltOrTitle) {
  auto image = MakeLink("", "http://s.example/t/3.html");
  image->imageText = "下一页";
  Page page({MakeLink("目录", "/list"), image});
  const SmartDecision decision = page.Decide("next");
  EXPECT_EQ(decision.linkIndex, 1);
  EXPECT_EQ(decision.logLine, "    智能翻页,链接文字: 下一页");
}

TEST(SmartFallbackTest, FirstAndLastTakeTheEndsOfThePagination) {
  Page page(Pagination(3, 7));
  EXPECT_EQ(page.Decide("first").address, "http://s.example/t/1.html");
  EXPECT_EQ(page.Decide("last").address, "http://s.example/t/7.html");
  // A word beats a number.
  page.data->document->links.push_back(MakeLink("尾页", "http://s.example/t/end.html"));
  EXPECT_EQ(page.Decide("last").address, "http://s.example/t/end.html");
  // A lone "1" is no pagination.
  Page lone({MakeLink("1", "http://s.example/note1"), MakeLink("about", "/about")});
  EXPECT_EQ(lone.Decide("first").action, SmartDecision::Action::None);
}

TEST(SmartFallbackTest, TheAddressWhenNoLinkNamesThePage) {
  Page page({MakeLink("home", "/")}, "http://s.example/list?page=4");
  SmartDecision decision = page.Decide("next");
  EXPECT_EQ(decision.action, SmartDecision::Action::Navigate);
  EXPECT_EQ(decision.address, "http://s.example/list?page=5");
  EXPECT_EQ(decision.logLine, "    智能翻页,网址页码: http://s.example/list?page=5");
  EXPECT_EQ(page.Decide("prev").address, "http://s.example/list?page=3");
  EXPECT_EQ(page.Decide("9").address, "http://s.example/list?page=9");
  // A page without links still has an address.
  Page bare({}, "http://s.example/list?page=4");
  EXPECT_EQ(bare.Decide("next").address, "http://s.example/list?page=5");
}

TEST(SmartFallbackTest, AnAddressIsNotGuessedPastThePagination) {
  // The last page of a paged list: its pager shows earlier pages only.
  auto links = Pagination(4, 4);
  links.insert(links.begin(), MakeLink("« 上一页", "http://s.example/list?page=3"));
  Page page(links, "http://s.example/list?page=4");
  EXPECT_EQ(page.Decide("next").action, SmartDecision::Action::None);
  EXPECT_EQ(page.Decide("12").action, SmartDecision::Action::None);
  EXPECT_EQ(page.Decide("prev").address, "http://s.example/list?page=3");
}

TEST(SmartFallbackTest, FailedReadsEndTheSearchQuietly) {
  auto unreadable = MakeLink("x", "/x");
  unreadable->outerText.reset();
  Page page({MakeLink("home", "/"), unreadable, MakeLink("下一页", "http://s.example/t/3.html")},
            "http://s.example/t/2.html");
  EXPECT_EQ(page.Decide("next").action, SmartDecision::Action::None);
  page.data->document->itemFailsAt = 0;
  EXPECT_EQ(page.Decide("next").action, SmartDecision::Action::None);
  // Back and forward are not the fallback's.
  EXPECT_EQ(page.Decide("back").action, SmartDecision::Action::None);
}

}  // namespace
}  // namespace paginor
