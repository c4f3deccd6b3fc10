#include "hooks/float_box.h"

namespace paginor::hooks {

std::optional<unsigned> KeyCodeOfLetter(std::wstring_view letter) {
  if (letter.empty()) return std::nullopt;
  const wchar_t c = letter.front();
  if (c >= L'a' && c <= L'z') return static_cast<unsigned>(c - L'a' + L'A');
  if ((c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9')) return static_cast<unsigned>(c);
  return std::nullopt;
}

PageKeys PageNumberKeys(std::wstring_view text) {
  while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
  PageKeys keys;
  if (text.empty() || text.size() > 5) return keys;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return PageKeys{};
    keys.codes[static_cast<std::size_t>(keys.count++)] = static_cast<unsigned>(c);
  }
  keys.codes[static_cast<std::size_t>(keys.count++)] = 13;
  return keys;
}

namespace {

// One axis: keep [lo, hi) inside [areaLo, areaHi); a box larger than the area keeps its
// leading edge (its title and first buttons) visible.
void Fit(long& lo, long& hi, long areaLo, long areaHi) {
  const long size = hi - lo;
  if (hi > areaHi) {
    lo = areaHi - size;
  }
  if (lo < areaLo) lo = areaLo;
  hi = lo + size;
}

}  // namespace

Rect KeepOnScreen(const Rect& saved, const Rect& workArea) {
  Rect r = saved;
  Fit(r.left, r.right, workArea.left, workArea.right);
  Fit(r.top, r.bottom, workArea.top, workArea.bottom);
  return r;
}

}  // namespace paginor::hooks
