#pragma once
// Page-turn commands as the input dispatch delivers them.

#include <string>
#include <string_view>

namespace paginor {

// Selects the disable list a command is tested against.
enum class Origin { Keyboard, Mouse };

// The five definition sets, in their fixed order (editor, file, tables).
enum class SetIndex { Prev = 0, Next = 1, First = 2, Last = 3, Page = 4 };
inline constexpr int kSetCount = 5;

// "prev", "next", "first", "last", "back" or "forward"; anything else is a page number.
bool IsNamedCommand(std::string_view command);
bool IsPageNumberCommand(std::string_view command);

// The name written in the receipt line: "上一页", ..., "定位到第" N "页".
std::string DisplayName(std::string_view command);

// The set a command reads; back and forward read none (returns false).
bool SetForCommand(std::string_view command, SetIndex& set);

}  // namespace paginor
