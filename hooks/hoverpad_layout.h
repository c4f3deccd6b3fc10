#pragma once
// Where things are on the floating box, in client pixels at the given DPI. Shared by the
// window and the tests that click on it.

#include <array>

#include "hooks/stroke_tracker.h"

namespace paginor::hooks {

struct BoxLayout {
  Rect client;                // the whole client area
  Rect status;                // "main program running" line; dragging starts here too
  Rect close;                 // the small close box at the end of the status line
  std::array<Rect, 6> buttons;  // in the order of kFloatButtons
  Rect pageLabel;
  Rect pageEdit;
  Rect pad;                   // the stroke pad
};

BoxLayout LayoutBox(unsigned dpi);

// Which button is at p, or -1.
int ButtonAt(const BoxLayout& layout, Point p);

constexpr bool Contains(const Rect& r, Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace paginor::hooks
