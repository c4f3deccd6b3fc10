#pragma once
// The smart fallback: the last stage of "prev", "next", "first", "last" and page
// numbers, for pages no rule or keyword knows. In order: rel links, page words, arrows
// and page numbers scored, the page number in the address. Among the scored links one
// inside the pagination block beats any outside it; equal scores go to the link whose
// address continues the page's, then to the first. Switched on by the user; it runs only
// when every earlier stage found nothing.

#include <string>
#include <string_view>
#include <vector>

#include "engine/browser_model.h"

namespace paginor {

struct SmartCandidate {
  enum class Source { RelLinkTag, RelLink, Words, Address };
  Source source = Source::Words;
  long index = -1;      // position among the links (or <link> elements); -1: the address
  std::string text;     // the link's text on one line, or its rel
  std::string address;
  int score = 0;
  std::string reason;   // what scored, or why it cannot win
  bool excluded = false;  // leads to the page itself, so it never wins
  // Links only, for the explanation: where the link stands (decides before the score)
  // and how its address stands to the page's (decides between equal scores).
  std::string block;
  std::string continuity;
};

struct SmartDecision {
  enum class Action { None, ClickLink, Navigate };
  Action action = Action::None;
  long linkIndex = -1;  // ClickLink: the link to click
  std::string address;  // Navigate: where to; ClickLink: the link's address
  std::string logLine;
  // Everything weighed; filled only when explaining.
  std::vector<SmartCandidate> candidates;
  std::vector<std::string> notes;
};

// "prev", "next", "first", "last" and page numbers.
bool IsSmartCommand(std::string_view command);

// Chooses without acting. links may be null or empty (a page without links still has an
// address); count: how many of them to read. Reads may fail at any point: a failed read
// ends that part of the search.
SmartDecision DecideSmart(std::string_view command, Document& document, LinkCollection* links,
                          long count, std::string_view docURL, bool explain);

}  // namespace paginor
