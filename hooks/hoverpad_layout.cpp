#include "hooks/hoverpad_layout.h"

namespace paginor::hooks {

BoxLayout LayoutBox(unsigned dpi) {
  if (dpi == 0) dpi = 96;
  const auto s = [dpi](long v) { return static_cast<long>((v * static_cast<long>(dpi) + 48) / 96); };
  constexpr long kMargin = 6, kGap = 4, kButtonW = 52, kButtonH = 26, kRowH = 22, kPadH = 80;
  const long width = 2 * kMargin + 3 * kButtonW + 2 * kGap;
  BoxLayout l;
  long y = 0;
  l.status = {0, 0, s(width - kRowH), s(kRowH)};
  l.close = {s(width - kRowH), 0, s(width), s(kRowH)};
  y = kRowH + kGap;
  for (int i = 0; i < 6; ++i) {
    const long col = i % 3, row = i / 3;
    const long left = kMargin + col * (kButtonW + kGap);
    const long top = y + row * (kButtonH + kGap);
    l.buttons[static_cast<std::size_t>(i)] = {s(left), s(top), s(left + kButtonW), s(top + kButtonH)};
  }
  y += 2 * (kButtonH + kGap);
  l.pageLabel = {s(kMargin), s(y), s(kMargin + kButtonW), s(y + kRowH)};
  l.pageEdit = {s(kMargin + kButtonW + kGap), s(y), s(width - kMargin), s(y + kRowH)};
  y += kRowH + kGap;
  l.pad = {s(kMargin), s(y), s(width - kMargin), s(y + kPadH)};
  y += kPadH + kMargin;
  l.client = {0, 0, s(width), s(y)};
  return l;
}

int ButtonAt(const BoxLayout& layout, Point p) {
  for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
    if (Contains(layout.buttons[i], p)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace paginor::hooks
