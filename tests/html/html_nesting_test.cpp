// Pages that would hurt the parser or a recursive walk: huge, deep, hostile.
#include <gtest/gtest.h>
#include <gumbo.h>

#include <string>

#include "engine/html/html_page.h"
#include "engine/html/html_render.h"
#include "engine/html/parse_cost.h"
#include "engine/html/parsed_html.h"

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
const GumboNode* Innermost(const GumboNode* node, GumboTag tag) {
  const GumboNode* found = nullptr;
  while (node != nullptr) {
    if (node->type == GUMBO_NODE_ELEMENT && node->v.element.tag == tag) found = node;
    const GumboVector* children = node->type == GUMBO_NODE_DOCUMENT  ? &node->v.document.children
                                  : node->type == GUMBO_NODE_ELEMENT ? &node->v.element.children
                                                                     : nullptr;
    const GumboNode* next = nullptr;
    for (unsigned int i = 0; children != nullptr && i < children->length; ++i) {
      const auto* child = static_cast<const GumboNode*>(children->data[i]);
      if (child->type == GUMBO_NODE_ELEMENT) next = child;
    }
    node = next;
  }
  return found;
}

TEST(HtmlNesting, HundredThousandLevelsRenderAndFreeWithoutRecursion) {
  const int depth = 100'000;
  const ParsedHtml tree(Nested("<span>", "</span>", depth, "<a href=x>in</a>"));
  const GumboNode* html = Innermost(tree.Document(), GUMBO_TAG_HTML);
  ASSERT_NE(html, nullptr);
  EXPECT_EQ(RenderOuterText(*html), "in");
  const std::string markup = SerializeOuterHtml(*html);
  EXPECT_EQ(markup.size(),
            std::string("<html><head></head><body></body></html><a href=\"x\">in</a>").size() +
                depth * std::string("<span></span>").size());
  const GumboNode* link = Innermost(tree.Document(), GUMBO_TAG_A);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(SerializeOuterHtml(*link), "<a href=\"x\">in</a>");
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

TEST(HtmlNesting, PagesTooDeepOrTooLargeAreRefusedWithAReason) {
  for (const std::string& html :
       {Nested("<div>", "", 100'000, ""), Nested("<table><tr><td>", "", 50'000, ""),
        Nested("<font color=red>", "", 100'000, "x"), Nested("<svg><g>", "", 50'000, "")}) {
    HtmlPage::Load load = HtmlPage::Parse("http://s.example/", html, nullptr);
    EXPECT_EQ(load.page, nullptr);
    EXPECT_NE(load.problem.find("too deeply"), std::string::npos) << load.problem;
  }
  HtmlPage::Load huge =
      HtmlPage::Parse("http://s.example/", std::string(kMaxPageBytes + 1, 'x'), nullptr);
  EXPECT_EQ(huge.page, nullptr);
  EXPECT_NE(huge.problem.find("larger than 16 MiB"), std::string::npos) << huge.problem;
}

TEST(HtmlNesting, WorkEstimateFollowsOpenElementsOnly) {
  EXPECT_EQ(EstimateParseWork(""), 0u);
  EXPECT_EQ(EstimateParseWork("<div><div><div></div></div></div>"), 0u + 1u + 2u);
  // Elements the parser closes by itself, or that never open, add no depth.
  const std::string flat = Nested("<p>x<br><img src=a><li>", "", 10'000, "");
  EXPECT_EQ(EstimateParseWork(flat), 0u);
  EXPECT_EQ(EstimateParseWork(Nested("<a href=x>", "", 10'000, "")), 0u);
  // Markup inside comments, scripts and quoted values is not markup.
  EXPECT_EQ(EstimateParseWork("<!-- <div><div> --><script>if (a<b) x='<div>';</script>"
                              "<span title='<div>'></span>"),
            0u);
  EXPECT_EQ(EstimateParseWork("<span><SCRIPT>'</script>'</SCRIPT><b>"), 1u + 1u);
  // Self-closing counts only in SVG and MathML, where it really closes.
  EXPECT_EQ(EstimateParseWork("<svg><path/><path/></svg>"), 0u + 1u + 1u);
  EXPECT_EQ(EstimateParseWork("<div/><div/>"), 0u + 1u);
  // Unbalanced end tags never take the depth below zero.
  EXPECT_EQ(EstimateParseWork("</div></div><div><div>"), 0u + 1u);
}

}  // namespace
}  // namespace paginor
