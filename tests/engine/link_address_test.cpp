#include "engine/link_address.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace paginor {
namespace {

using Case = std::pair<const char*, const char*>;

void ExpectResolved(const char* base, const std::vector<Case>& cases) {
  for (const auto& [reference, expected] : cases) {
    EXPECT_EQ(ResolveLinkAddress(reference, base), expected) << "reference: " << reference;
  }
}

TEST(ResolveLinkAddressTest, NormalExamplesOfRfc3986) {
  ExpectResolved("http://a/b/c/d;p?q",
                 {{"g:h", "g:h"},
                  {"g", "http://a/b/c/g"},
                  {"./g", "http://a/b/c/g"},
                  {"g/", "http://a/b/c/g/"},
                  {"/g", "http://a/g"},
                  {"//g", "http://g"},
                  {"?y", "http://a/b/c/d;p?y"},
                  {"g?y", "http://a/b/c/g?y"},
                  {"#s", "http://a/b/c/d;p?q#s"},
                  {"g#s", "http://a/b/c/g#s"},
                  {"g?y#s", "http://a/b/c/g?y#s"},
                  {";x", "http://a/b/c/;x"},
                  {"g;x", "http://a/b/c/g;x"},
                  {"g;x?y#s", "http://a/b/c/g;x?y#s"},
                  {"", "http://a/b/c/d;p?q"},
                  {".", "http://a/b/c/"},
                  {"./", "http://a/b/c/"},
                  {"..", "http://a/b/"},
                  {"../", "http://a/b/"},
                  {"../g", "http://a/b/g"},
                  {"../..", "http://a/"},
                  {"../../", "http://a/"},
                  {"../../g", "http://a/g"}});
}

TEST(ResolveLinkAddressTest, AbnormalExamplesOfRfc3986) {
  ExpectResolved("http://a/b/c/d;p?q",
                 {{"../../../g", "http://a/g"},
                  {"../../../../g", "http://a/g"},
                  {"/./g", "http://a/g"},
                  {"/../g", "http://a/g"},
                  {"g.", "http://a/b/c/g."},
                  {".g", "http://a/b/c/.g"},
                  {"g..", "http://a/b/c/g.."},
                  {"..g", "http://a/b/c/..g"},
                  {"./../g", "http://a/b/g"},
                  {"./g/.", "http://a/b/c/g/"},
                  {"g/./h", "http://a/b/c/g/h"},
                  {"g/../h", "http://a/b/c/h"},
                  {"g;x=1/./y", "http://a/b/c/g;x=1/y"},
                  {"g;x=1/../y", "http://a/b/c/y"},
                  {"g?y/./x", "http://a/b/c/g?y/./x"},
                  {"g?y/../x", "http://a/b/c/g?y/../x"},
                  {"g#s/./x", "http://a/b/c/g#s/./x"},
                  {"g#s/../x", "http://a/b/c/g#s/../x"},
                  {"http:g", "http:g"}});
}

TEST(ResolveLinkAddressTest, PageLinksResolveAgainstTheDocument) {
  ExpectResolved("http://s.example/a/b.html#top",
                 {{"/c.html", "http://s.example/c.html"},
                  {"./c.html", "http://s.example/a/c.html"},
                  {"c.html", "http://s.example/a/c.html"},
                  {"?p=2", "http://s.example/a/b.html?p=2"},
                  {"//cdn.example/x", "http://cdn.example/x"},
                  {"../x", "http://s.example/x"},
                  {"", "http://s.example/a/b.html"}});
  ExpectResolved("http://s.example", {{"c.html", "http://s.example/c.html"}});
}

TEST(ResolveLinkAddressTest, KeepsAbsoluteAddressesAndUnresolvableOnes) {
  ExpectResolved("http://s.example/a/b.html",
                 {{"HTTP://Other.example/../x", "HTTP://Other.example/../x"},
                  {"javascript:void(0)", "javascript:void(0)"},
                  {"1a:b", "http://s.example/a/1a:b"}});
  ExpectResolved("", {{"c.html", "c.html"}, {"/c.html", "/c.html"}});
  ExpectResolved("not a url", {{"../c.html", "../c.html"}});
}

}  // namespace
}  // namespace paginor
