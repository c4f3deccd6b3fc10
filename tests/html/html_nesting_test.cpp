// Pages that would hurt the parser or a recursive walk: huge, deep, hostile.
#include <gtest/gtest.h>
#include <gumbo.h>

#include <chrono>
#include <string>

#include "engine/html/html_page.h"
#include "engine/html/html_render.h"
#include "engine/html/html_parse.h"

namespace paginor {
namespace {

std::string Nested(const std::string& open, const std::string& close, int depth,
                   const std::string& inner) {
  std::string html;
  for (int i = 0; i < depth; ++i) html += open;
  html += inner;
  for (int i = 0; i < depth; ++i) html += close;
  return html;
}

// The innermost element of a chain of single children.
NodeIndex Innermost(const HtmlTree& tree, int tag) {
  NodeIndex found = kNoNode;
  for (NodeIndex i = 0; i < tree.Size(); ++i) {
    if (tree.IsHtmlElement(i, tag)) found = i;
  }
  return found;
}

TEST(HtmlNesting, HundredThousandLevelsRenderAndFreeWithoutRecursion) {
  const int depth = 100'000;
  const HtmlTree tree = ParseHtmlHere(Nested("<span>", "</span>", depth, "<a href=x>in</a>"));
  const NodeIndex html = Innermost(tree, GUMBO_TAG_HTML);
  ASSERT_NE(html, kNoNode);
  EXPECT_EQ(RenderOuterText(tree, html), "in");
  const std::string markup = SerializeOuterHtml(tree, html);
  EXPECT_EQ(markup.size(),
            std::string("<html><head></head><body></body></html><a href=\"x\">in</a>").size() +
                depth * std::string("<span></span>").size());
  const NodeIndex link = Innermost(tree, GUMBO_TAG_A);
  ASSERT_NE(link, kNoNode);
  EXPECT_EQ(SerializeOuterHtml(tree, link), "<a href=\"x\">in</a>");
  // The same tree, sent as bytes from the parsing process, arrives whole.
  const std::optional<HtmlTree> copy = HtmlTree::FromBytes(tree.ToBytes());
  ASSERT_TRUE(copy.has_value());
  EXPECT_EQ(SerializeOuterHtml(*copy, html), markup);
}

TEST(HtmlNesting, DeepButAffordablePagesLoadWithAllTheirParents) {
  const int depth = 5000;
  HtmlPage::Load load = HtmlPage::Parse(
      "http://s.example/", Nested("<div>", "</div>", depth, "<a href=n.html>下一页</a>"), nullptr);
  ASSERT_NE(load.page, nullptr) << load.problem;
  ASSERT_EQ(load.page->LinkCount(), 1u);
  auto element = load.page->Link(0);
  int parents = 0;
  while ((element = element->ParentElement()) != nullptr) ++parents;
  EXPECT_EQ(parents, depth + 2);  // the divs, body and html
}

// Pages whose parse grows with the square of their nesting, including nesting inside
// foreign content and ruby, which no cheap look at the markup predicts: each is either
// parsed or refused once its processor time is spent, never left to run.
TEST(HtmlNesting, CostlyPagesEndWithinTheirProcessorTime) {
  IsolationLimits limits;
  limits.cpu = std::chrono::seconds(1);
  for (const std::string& html :
       {Nested("<div>", "", 100'000, ""), Nested("<table><tr><td>", "", 50'000, ""),
        Nested("<rt>", "", 100'000, ""), "<svg>" + Nested("<td>", "", 50'000, ""),
        Nested("<font color=red>", "", 100'000, "x"), Nested("<svg><g>", "", 50'000, "")}) {
    const auto start = std::chrono::steady_clock::now();
    HtmlPage::Load load = HtmlPage::Parse("http://s.example/", html, nullptr, limits);
    if (load.page == nullptr) {
      EXPECT_EQ(load.problem,
                "the HTML parser did not finish this page within 1 seconds of processor time");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
  }
  HtmlPage::Load huge =
      HtmlPage::Parse("http://s.example/", std::string(kMaxPageBytes + 1, 'x'), nullptr);
  EXPECT_EQ(huge.page, nullptr);
  EXPECT_NE(huge.problem.find("larger than 16 MiB"), std::string::npos) << huge.problem;
}

}  // namespace
}  // namespace paginor
