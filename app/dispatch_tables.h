#pragma once
// The effective copy of the input settings, which the input dispatch reads. It changes
// only at start and on Apply, never by editing a control.

#include <array>
#include <string>

namespace paginor::app {

// In the order the dispatch compares letters.
enum class PageCommand { Prev = 0, Next = 1, First = 2, Last = 3, Back = 4, Forward = 5 };
inline constexpr int kPageCommandCount = 6;

struct DispatchTables {
  std::array<std::string, kPageCommandCount> keyLetters;  // by PageCommand; "" or one char
  bool useKeyboard = false;
  bool useGestures = false;
  bool useDoubleClick = false;
  std::array<int, kPageCommandCount> gestureOf{};  // gesture codes, 4 "无", -1 nothing
  std::array<int, kPageCommandCount> zoneOf{};     // zone codes, 4 "无", -1 nothing

  const std::string& LetterOf(PageCommand c) const { return keyLetters[static_cast<int>(c)]; }
  int GestureOf(PageCommand c) const { return gestureOf[static_cast<int>(c)]; }
  int ZoneOf(PageCommand c) const { return zoneOf[static_cast<int>(c)]; }
};

}  // namespace paginor::app
