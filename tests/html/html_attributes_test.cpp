// What the smart fallback reads of a real page: <link> elements, attributes, image text.

#include <gtest/gtest.h>

#include "engine/html/html_page.h"

namespace paginor {
namespace {

std::shared_ptr<HtmlPage> Load(std::string_view html) {
  HtmlPage::Load load = HtmlPage::Parse("http://s.example/a/2.html", html, nullptr);
  EXPECT_EQ(load.problem, "");
  return load.page;
}

TEST(HtmlAttributesTest, LinkElementsInDocumentOrderWithAbsoluteAddresses) {
  const auto page = Load(
      "<head><base href='http://cdn.example/x/'><link rel=stylesheet href=s.css>"
      "<link REL='Next' href=' 3.html '></head><body><template><link rel=prev href=1.html>"
      "</template><a href=4.html rel='nofollow next'>4</a></body>");
  ASSERT_NE(page, nullptr);
  auto tags = page->MakeDocument()->LinkTags();
  ASSERT_NE(tags, nullptr);
  ASSERT_EQ(tags->Length(), 2);  // the template's content is not part of the document
  auto next = tags->Item(1);
  EXPECT_EQ(next->Attribute("rel"), "Next");
  EXPECT_EQ(next->Href(), "http://cdn.example/x/3.html");
  EXPECT_EQ(next->Attribute("title"), std::nullopt);
  EXPECT_EQ(tags->Item(2), nullptr);
  // The links themselves are unchanged: <link> is not one of them.
  auto links = page->MakeDocument()->Links();
  ASSERT_EQ(links->Length(), 1);
  EXPECT_EQ(links->Item(0)->Attribute("rel"), "nofollow next");
}

TEST(HtmlAttributesTest, ImageTextIsTheFirstImagesAltElseTitle) {
  const auto page = Load(
      "<a href=a><img src=x.gif alt='下一页'></a>"
      "<a href=b><span><img src=y.gif alt='' title='Next page'></span><img alt=second></a>"
      "<a href=c>text only</a>");
  auto links = page->MakeDocument()->Links();
  EXPECT_EQ(links->Item(0)->ImageText(), "下一页");
  EXPECT_EQ(links->Item(1)->ImageText(), "Next page");
  EXPECT_EQ(links->Item(2)->ImageText(), std::nullopt);
  EXPECT_EQ(links->Item(0)->OuterText(), "");  // which is why the image's text counts
}

}  // namespace
}  // namespace paginor
