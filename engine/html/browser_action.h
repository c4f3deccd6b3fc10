#pragma once
// What was done to a page or its browser, in order, so a caller can tell the outcome of
// a command: the page-turn engine only acts, it never reports.

#include <string>
#include <vector>

namespace paginor {

struct BrowserAction {
  enum class Kind {
    FollowedLink,   // a link was clicked: address, text, target in effect
    Navigated,      // Navigate: address, target frame
    WentBack,       // address now shown; empty when there was no earlier page
    WentForward,    // address now shown; empty when there was no later page
    TargetWritten,  // "target" set on an element: its address (if a link), text, target
  };
  Kind kind;
  std::string address;
  std::string text;
  std::string target;
  bool operator==(const BrowserAction&) const = default;
};

using BrowserActions = std::vector<BrowserAction>;

}  // namespace paginor
