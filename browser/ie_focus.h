#pragma once
// Whether a key typed into an IE-engine page is meant for a field of it. The hook's caret
// rule lets through what shows no caret, a focused <select> among them; the page's active
// element tells for certain.

#include <string_view>

namespace paginor {

// What the document's activeElement says of itself: tagName as MSHTML gives it (upper
// case), the type attribute of an INPUT ("" when absent), isContentEditable.
struct ActiveElement {
  std::string_view tagName;
  std::string_view type;
  bool contentEditable = false;
};

// An INPUT of a text-like type, a TEXTAREA, a SELECT (it selects by typed letters) or an
// editable element takes typing; anything else (the body, a link, a button) does not.
bool ActiveElementTakesTyping(const ActiveElement& element);

}  // namespace paginor
