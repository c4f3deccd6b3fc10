// Captured trees that are not well formed are refused with the line and why; the good
// ones are read by the comparison of every example page (compare_ax_trees.sh).

#include "browser/ax_tree_file.h"

#include <gtest/gtest.h>

namespace paginor {
namespace {

TEST(AxTreeFile, MalformedTreesAreRefusedWithTheLineAndWhy) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "the tree is empty"},
      {"0\t0xf\t0x0\t\t\t\n", "line 1: expected #url and the page's address"},
      {"#url\tx\n1\t0xf\t0x0\t\t\t\n", "line 2: the document must come first, at depth 0"},
      {"#url\tx\n0\t0xf\t0x0\t\t\t\n2\t0x14\t0x0\t\t\t\n", "line 3: a depth from 1 to one more than"},
      {"#url\tx\n0\t15\t0x0\t\t\t\n", "line 2: role and state must be hex"},
      {"#url\tx\n0\t0xf\t0x0\t\t\n", "line 2: expected 6 fields, found 5"},
  };
  for (const auto& [text, why] : cases) {
    std::string error;
    EXPECT_FALSE(ParseAxTree(text, error)) << text;
    EXPECT_EQ(error.rfind(why, 0), 0u) << error;
  }
}

}  // namespace
}  // namespace paginor
