#include "engine/html/html_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/html/html_render.h"

namespace paginor {
namespace {

using ::testing::ElementsAre;

constexpr const char* kAddress = "http://s.example/a/b.html";

struct Loaded {
  std::shared_ptr<BrowserActions> actions = std::make_shared<BrowserActions>();
  std::shared_ptr<HtmlPage> page;
  std::unique_ptr<Document> document;
  std::unique_ptr<LinkCollection> links;
};

Loaded Load(std::string_view html, std::string address = kAddress) {
  Loaded loaded;
  HtmlPage::Load load = HtmlPage::Parse(std::move(address), html, loaded.actions);
  EXPECT_EQ(load.problem, "");
  loaded.page = load.page;
  if (loaded.page != nullptr) {
    loaded.document = loaded.page->MakeDocument();
    loaded.links = loaded.document->Links();
  }
  return loaded;
}

std::vector<std::string> LinkTexts(LinkCollection& links) {
  std::vector<std::string> texts;
  const long n = links.Length().value_or(-1);
  for (long i = 0; i < n; ++i) texts.push_back(links.Item(i)->OuterText().value_or("<failed>"));
  return texts;
}

std::string TextOfFirstLink(std::string_view body) {
  Loaded loaded = Load(std::string("<body>") + std::string(body));
  auto link = loaded.links->Item(0);
  return link != nullptr ? link->OuterText().value_or("<failed>") : "<no link>";
}

std::string HtmlOfFirstLink(std::string_view body) {
  Loaded loaded = Load(std::string("<body>") + std::string(body));
  auto link = loaded.links->Item(0);
  return link != nullptr ? link->OuterHtml().value_or("<failed>") : "<no link>";
}

std::string HrefOfFirstLink(std::string_view html, std::string address = kAddress) {
  Loaded loaded = Load(html, std::move(address));
  auto link = loaded.links->Item(0);
  return link != nullptr ? link->Href().value_or("<failed>") : "<no link>";
}

TEST(HtmlPageLinks, AnchorsAndAreasWithHrefInDocumentOrder) {
  Loaded loaded = Load(R"(<html><head><link href="style.css" rel="stylesheet"></head><body>
    <a name="top">anchor only</a>
    <a href="1.html">one</a>
    <map name="m"><area href="2.html" alt="two"><area nohref alt="none"></map>
    <div><p><a href="3.html">three</a></p></div>
    <template><a href="hidden.html">inert</a></template>
    <a href="">four</a>
    <svg><a href="svg.html">not html</a></svg>
  </body></html>)");
  ASSERT_NE(loaded.links, nullptr);
  EXPECT_EQ(loaded.links->Length(), 4);
  EXPECT_THAT(LinkTexts(*loaded.links), ElementsAre("one", "", "three", "four"));
  EXPECT_EQ(loaded.links->Item(1)->Href(), "http://s.example/a/2.html");
  EXPECT_EQ(loaded.links->Item(4), nullptr);
  EXPECT_EQ(loaded.links->Item(-1), nullptr);
  EXPECT_EQ(loaded.document->Url(), kAddress);
}

TEST(HtmlPageLinks, EmptyAndBrokenPagesHaveNoLinksButADocument) {
  static constexpr char kBinary[] = "\0\xff\xfe<a href=x>\x80\x81</a>";
  for (std::string_view html : {std::string_view(""), std::string_view("<<<>>>&&&<a"),
                                std::string_view(kBinary, sizeof kBinary - 1)}) {
    Loaded loaded = Load(html);
    ASSERT_NE(loaded.document, nullptr);
    EXPECT_EQ(loaded.document->Url(), kAddress);
    EXPECT_LE(loaded.links->Length().value_or(-1), 1);
  }
  EXPECT_EQ(TextOfFirstLink("<a href=x>\x80ok</a>"), "\xEF\xBF\xBDok");  // U+FFFD
}

TEST(HtmlPageText, RenderedLikeABrowser) {
  EXPECT_EQ(TextOfFirstLink("<a href=x>第<b>2</b>页</a>"), "第2页");
  EXPECT_EQ(TextOfFirstLink("<a href=x>\n   Next \t\n &gt;&gt;  </a>"), "Next >>");
  EXPECT_EQ(TextOfFirstLink("<a href=x>&lt;上一页&amp;&#x4e0b;</a>"), "<上一页&下");
  EXPECT_EQ(TextOfFirstLink("<a href=x>[ <span> 下一页 </span> ]</a>"), "[ 下一页 ]");
  EXPECT_EQ(TextOfFirstLink("<a href=x>a&nbsp;&nbsp;b</a>"), "a\u00A0\u00A0b");
  EXPECT_EQ(TextOfFirstLink("<a href=x>one<br>two<br><br>three<br></a>"),
            "one\r\ntwo\r\n\r\nthree");
  EXPECT_EQ(TextOfFirstLink("<a href=x><script>var s='x';</script><style>a{}</style>go</a>"), "go");
  EXPECT_EQ(TextOfFirstLink("<a href=x><img src=next.gif alt=Next></a>"), "");
  EXPECT_EQ(TextOfFirstLink("<a href=x><div>a</div><div>b</div> c</a>"), "a\r\nb\r\nc");
}

TEST(HtmlPageMarkup, SerialisedFaithfully) {
  EXPECT_EQ(HtmlOfFirstLink(
                R"(<A HREF='n.html' class=next Title="a&quot;b'c">Next &gt;&gt; &amp; co</A>)"),
            R"(<a href="n.html" class="next" title="a&quot;b'c">Next &gt;&gt; &amp; co</a>)");
  EXPECT_EQ(HtmlOfFirstLink("<a href=x><img src=\"p.gif\"><br>下一页<!-- n --></a>"),
            "<a href=\"x\"><img src=\"p.gif\"><br>下一页<!-- n --></a>");
  EXPECT_EQ(HtmlOfFirstLink("<a href=x onclick=go()><script>if (a < b && c) {}</script>&nbsp;</a>"),
            "<a href=\"x\" onclick=\"go()\"><script>if (a < b && c) {}</script>&nbsp;</a>");
  EXPECT_EQ(HtmlOfFirstLink("<a href=x><input disabled><custom-tag X=1>t</custom-tag></a>"),
            "<a href=\"x\"><input disabled=\"\"><custom-tag x=\"1\">t</custom-tag></a>");
}

TEST(HtmlPageParents, ChainUpToTheRootWithTheSameProperties) {
  Loaded loaded = Load(
      "<body><div id=nav>页码: <span class=cur><a href=p2.html>2</a></span> 下一页</div></body>");
  auto link = loaded.links->Item(0);
  ASSERT_NE(link, nullptr);
  auto span = link->ParentElement();
  ASSERT_NE(span, nullptr);
  EXPECT_EQ(span->OuterText(), "2");
  EXPECT_EQ(span->OuterHtml(), "<span class=\"cur\"><a href=\"p2.html\">2</a></span>");
  EXPECT_EQ(span->Href(), std::nullopt);
  auto div = span->ParentElement();
  ASSERT_NE(div, nullptr);
  EXPECT_EQ(div->OuterText(), "页码: 2 下一页");

  // Clicking or targeting plain content is harmless: nothing is followed.
  EXPECT_TRUE(div->Click());
  EXPECT_TRUE(loaded.actions->empty());

  std::vector<std::string> names;
  for (auto e = div->ParentElement(); e != nullptr; e = e->ParentElement()) {
    const std::string html = e->OuterHtml().value_or("");
    names.push_back(html.substr(0, html.find('>') + 1));
  }
  EXPECT_THAT(names, ElementsAre("<body>", "<html>"));
}

TEST(HtmlPageHref, ResolvedAgainstTheDocumentOrItsBase) {
  const std::string body = "<body><a href=\"../c/d.html?p=2#x\">n</a>";
  EXPECT_EQ(HrefOfFirstLink(body), "http://s.example/c/d.html?p=2#x");
  EXPECT_EQ(HrefOfFirstLink("<a href='?page=3'>n</a>"), "http://s.example/a/b.html?page=3");
  EXPECT_EQ(HrefOfFirstLink("<a href='/top.html'>n</a>"), "http://s.example/top.html");
  EXPECT_EQ(HrefOfFirstLink("<a href=' \n http://o.example/x \t'>n</a>"), "http://o.example/x");
  EXPECT_EQ(HrefOfFirstLink("<a href='javascript:go(2)'>n</a>"), "javascript:go(2)");
  EXPECT_EQ(HrefOfFirstLink("<a href=''>n</a>"), "http://s.example/a/b.html");
  EXPECT_EQ(HrefOfFirstLink("<head><base href='http://cdn.example/d/'></head>" + body),
            "http://cdn.example/c/d.html?p=2#x");
  EXPECT_EQ(HrefOfFirstLink("<base target=_blank><base href='/x/y/'>" + body),
            "http://s.example/x/c/d.html?p=2#x");
}

TEST(HtmlPageActions, ClickFollowsTheLinkWithTheTargetInEffect) {
  Loaded loaded = Load(
      "<body><a href=p2.html target=_blank>下一页</a><a href=p3.html>3</a>"
      "<map><area href=p9.html></map></body>");
  auto first = loaded.links->Item(0);
  EXPECT_TRUE(first->Click());
  EXPECT_TRUE(first->SetTarget("_self"));
  EXPECT_TRUE(first->Click());
  EXPECT_TRUE(loaded.links->Item(1)->Click());
  EXPECT_TRUE(loaded.links->Item(2)->Click());
  using Kind = BrowserAction::Kind;
  EXPECT_THAT(
      *loaded.actions,
      ElementsAre(
          BrowserAction{Kind::FollowedLink, "http://s.example/a/p2.html", "下一页", "_blank"},
          BrowserAction{Kind::TargetWritten, "http://s.example/a/p2.html", "下一页", "_self"},
          BrowserAction{Kind::FollowedLink, "http://s.example/a/p2.html", "下一页", "_self"},
          BrowserAction{Kind::FollowedLink, "http://s.example/a/p3.html", "3", ""},
          BrowserAction{Kind::FollowedLink, "http://s.example/a/p9.html", "", ""}));
  // A target written through one handle holds for every handle to the element.
  loaded.actions->clear();
  EXPECT_TRUE(loaded.links->Item(0)->Click());
  ASSERT_EQ(loaded.actions->size(), 1u);
  EXPECT_EQ(loaded.actions->front().target, "_self");
}

TEST(HtmlPageActions, ElementsOutliveTheirDocumentAndCollection) {
  std::unique_ptr<LinkElement> link;
  {
    Loaded loaded = Load("<p><a href=n.html>next</a></p>");
    link = loaded.links->Item(0);
  }
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->OuterText(), "next");
  EXPECT_EQ(link->ParentElement()->OuterHtml(), "<p><a href=\"n.html\">next</a></p>");
  EXPECT_TRUE(link->Click());
}

}  // namespace
}  // namespace paginor

namespace paginor {
namespace {

// What arrives from the parsing process keeps every element and attribute, head links
// and image texts included, for readers beyond the link list.
TEST(HtmlPageTree, KeepsEveryElementWithItsAttributes) {
  HtmlPage::Load load = HtmlPage::Parse(
      kAddress,
      "<head><link rel=next href=2.html></head>"
      "<a rel=next title=\"Page 2\" href=2.html><img alt=\"下一页\" src=n.png></a>",
      nullptr);
  ASSERT_NE(load.page, nullptr) << load.problem;
  const HtmlTree& tree = load.page->Tree();
  std::vector<std::string> seen;
  for (NodeIndex i = 0; i < tree.Size(); ++i) {
    if (!tree.IsElement(i)) continue;
    for (const char* name : {"rel", "title", "alt"}) {
      if (const auto value = tree.Attribute(i, name)) {
        seen.push_back(std::string(tree.Text(i)) + " " + name + "=" + std::string(*value));
      }
    }
  }
  EXPECT_THAT(seen, ElementsAre("link rel=next", "a rel=next", "a title=Page 2", "img alt=下一页"));
}

TEST(HtmlPageTree, DamagedBytesFromTheParsingProcessAreRefused) {
  const HtmlTree tree = ParseHtmlHere("<p>a<a href=x>b</a></p><!--c-->");
  const std::string bytes = tree.ToBytes();
  ASSERT_TRUE(HtmlTree::FromBytes(bytes).has_value());
  EXPECT_FALSE(HtmlTree::FromBytes(""));
  EXPECT_FALSE(HtmlTree::FromBytes(bytes.substr(0, bytes.size() - 1)));
  EXPECT_FALSE(HtmlTree::FromBytes(bytes + "x"));
  // Every single damaged byte of the node table is caught or harmless to read.
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::string damaged = bytes;
    damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
    const std::optional<HtmlTree> copy = HtmlTree::FromBytes(damaged);
    if (copy && copy->Size() > 0) SerializeOuterHtml(*copy, 0);
  }
}

}  // namespace
}  // namespace paginor
