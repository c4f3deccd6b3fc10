#include "engine/link_text.h"

#include <algorithm>

#include "engine/replace_all.h"

namespace paginor {

void LowercaseAscii(std::string& text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
}

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string NormalizeLinkText(std::string_view text) {
  std::string out(text);
  LowercaseAscii(out);
  ReplaceAll(out, "&nbsp;", "");
  ReplaceAll(out, "&gt;", ">");
  ReplaceAll(out, "&lt;", "<");
  ReplaceAll(out, "【", "");
  ReplaceAll(out, "】", "");
  // Only ASCII bytes go, so UTF-8 sequences stay whole.
  const auto dropped = [](char c) {
    switch (c) {
      case ' ': case '(': case ')': case '[': case ']':
      case '>': case '<': case '\t': case '\r': case '\n':
        return true;
      default:
        return false;
    }
  };
  out.erase(std::remove_if(out.begin(), out.end(), dropped), out.end());
  return out;
}

}  // namespace paginor
