#include "engine/command.h"

#include <array>
#include <utility>

namespace paginor {
namespace {

struct NamedCommand {
  std::string_view name;
  std::string_view display;
};

constexpr std::array<NamedCommand, 6> kNamed{{
    {"prev", "上一页"},
    {"next", "下一页"},
    {"first", "首页"},
    {"last", "末页"},
    {"back", "浏览器回退"},
    {"forward", "浏览器前进"},
}};

}  // namespace

bool IsNamedCommand(std::string_view command) {
  for (const auto& c : kNamed) {
    if (c.name == command) return true;
  }
  return false;
}

bool IsPageNumberCommand(std::string_view command) { return !IsNamedCommand(command); }

std::string DisplayName(std::string_view command) {
  for (const auto& c : kNamed) {
    if (c.name == command) return std::string(c.display);
  }
  return "定位到第" + std::string(command) + "页";
}

bool SetForCommand(std::string_view command, SetIndex& set) {
  if (command == "prev") set = SetIndex::Prev;
  else if (command == "next") set = SetIndex::Next;
  else if (command == "first") set = SetIndex::First;
  else if (command == "last") set = SetIndex::Last;
  else if (command == "back" || command == "forward") return false;
  else set = SetIndex::Page;
  return true;
}

}  // namespace paginor
