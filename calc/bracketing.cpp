#include "calc/bracketing.h"

#include <cstddef>
#include <vector>

namespace paginor::calc {
namespace {

enum class Mark : unsigned char { kKeep, kOpenList, kCloseList, kSeparator };

// One pass finds the role of each byte: the "(" and ")" of a pair holding commas at
// its own level, and those commas. Linear, with a stack of the open parentheses.
std::vector<Mark> MarkBytes(std::string_view text) {
  std::vector<Mark> marks(text.size(), Mark::kKeep);
  std::vector<std::size_t> open;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (quoted) {
      continue;
    } else if (c == '[') {
      const std::size_t close = text.find(']', i + 1);
      if (close == std::string_view::npos) break;
      i = close;
    } else if (c == '(') {
      open.push_back(i);
    } else if (c == ')') {
      if (open.empty()) continue;
      if (marks[open.back()] == Mark::kOpenList) marks[i] = Mark::kCloseList;
      open.pop_back();
    } else if (c == ',') {
      marks[i] = Mark::kSeparator;
      if (!open.empty()) marks[open.back()] = Mark::kOpenList;
    }
  }
  return marks;
}

}  // namespace

std::string BracketArguments(std::string_view text) {
  if (text.find(',') == std::string_view::npos) return std::string(text);
  const std::vector<Mark> marks = MarkBytes(text);
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    switch (marks[i]) {
      case Mark::kOpenList: out += "(("; break;
      case Mark::kCloseList: out += "))"; break;
      case Mark::kSeparator: out += "),("; break;
      case Mark::kKeep: out += text[i]; break;
    }
  }
  return out;
}

}  // namespace paginor::calc
