#pragma once
// The floating box's decisions: which key code each button posts, what the page-number
// field posts, and where the box may stand.

#include <array>
#include <optional>
#include <string_view>

#include "hooks/stroke_tracker.h"

namespace paginor::hooks {

// The button captions double as the key names of section "键盘" of tpnav.ini.
struct FloatButton {
  std::wstring_view caption;
  std::wstring_view defaultLetter;
};

inline constexpr std::wstring_view kKeySection = L"键盘";
inline constexpr std::array<FloatButton, 6> kFloatButtons{{
    {L"上页", L"s"},
    {L"下页", L"x"},
    {L"首页", L"a"},
    {L"末页", L"z"},
    {L"后退", L"h"},
    {L"前进", L"q"},
}};

// The key code the keyboard hook would report for the configured letter: letters of
// either case as "A" to "Z", digits as themselves. Nothing for an empty value or a
// character no single key press reports.
std::optional<unsigned> KeyCodeOfLetter(std::wstring_view letter);

// A page number as the keys the receiver collects: its digits, then Enter. Empty when the
// text is not 1 to 5 decimal digits (blanks around it are allowed).
struct PageKeys {
  std::array<unsigned, 6> codes{};
  int count = 0;
};
PageKeys PageNumberKeys(std::wstring_view text);

// Where a box saved at `saved` is shown within `workArea` (the work area of the monitor
// nearest to it): moved, not resized, so that all of it can be seen and dragged.
Rect KeepOnScreen(const Rect& saved, const Rect& workArea);

}  // namespace paginor::hooks
