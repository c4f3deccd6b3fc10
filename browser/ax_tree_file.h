#pragma once
// A page's accessibility tree kept as text: what a browser served for the page, captured
// once (scripts/capture_ax_trees.py drives Chromium). paginor-cli turns pages over such
// trees as the Chrome, Edge and Firefox kind does over a browser's, and the Windows
// stand-in browser serves them.
//
// Text form, UTF-8: a first line "#url<TAB>ADDRESS", then one line per node in tree
// order: depth (0 for the document, a child one more than its parent), MSAA role and
// state in hex ("0x1e"), name, value, and the browser's own name for the role; fields
// are tab-separated and escaped as in link tables (see link_table.h).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browser/accessible.h"

namespace paginor {

struct AxTreeNode {
  long role = 0;
  std::uint32_t state = 0;
  std::string name;
  std::string value;
  std::string browserRole;
  std::vector<AxTreeNode> children;
};

struct AxTree {
  std::string url;
  AxTreeNode document;
};

// Empty with error set ("line N: why") when the text is not such a tree.
std::optional<AxTree> ParseAxTree(std::string_view text, std::string& error);

// The tree as the walks read a browser's. Every read of children hands out new objects,
// as a browser does; a default action is handed to act, whose answer it returns.
using AxDefaultAction = std::function<bool(const AxTreeNode&)>;
AccessiblePtr AccessibleFromTree(std::shared_ptr<const AxTree> tree, AxDefaultAction act);

}  // namespace paginor
