#include "engine/link_text.h"

#include <algorithm>

#include "engine/replace_all.h"

namespace paginor {

void LowercaseAscii(std::string& text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
}

std::string NormalizeLinkText(std::string_view text) {
  std::string out(text);
  LowercaseAscii(out);
  ReplaceAll(out, "&nbsp;", "");
  ReplaceAll(out, "&gt;", ">");
  ReplaceAll(out, "&lt;", "<");
  ReplaceAll(out, "【", "");
  ReplaceAll(out, "】", "");
  // MSHTML's innerText keeps &nbsp; as U+00A0 and Chinese pages pad with U+3000: both
  // are blanks to a reader, so they go as the ASCII blank does.
  ReplaceAll(out, "\u00A0", "");
  ReplaceAll(out, "\u3000", "");
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

std::string OneLineText(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) > 0x20) {
      out += c;
    } else if (!out.empty() && out.back() != ' ') {
      out += ' ';
    }
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace paginor
