#include "browser/ie_focus.h"

#include <array>

namespace paginor {
namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Input types that take no letters; any other type, an unknown one included, falls back
// to a text box as the browser renders it.
constexpr std::array kKeylessInputTypes = {
    std::string_view("button"), std::string_view("checkbox"), std::string_view("color"),
    std::string_view("file"),   std::string_view("hidden"),   std::string_view("image"),
    std::string_view("radio"),  std::string_view("range"),    std::string_view("reset"),
    std::string_view("submit")};

}  // namespace

bool ActiveElementTakesTyping(const ActiveElement& element) {
  if (element.contentEditable) return true;
  if (SameLetters(element.tagName, "textarea") || SameLetters(element.tagName, "select")) return true;
  if (!SameLetters(element.tagName, "input")) return false;
  for (const std::string_view keyless : kKeylessInputTypes) {
    if (SameLetters(element.type, keyless)) return false;
  }
  return true;
}

}  // namespace paginor
