#include "engine/html/parse_cost.h"

#include <algorithm>
#include <array>
#include <string>

namespace paginor {
namespace {

constexpr std::size_t kNameLimit = 16;  // longer names are none of the listed ones

// Void elements and elements that the next sibling or the parent's end closes.
constexpr std::array<std::string_view, 41> kNeverOpen = {
    "area",     "base",     "basefont", "bgsound", "br",   "col",  "embed",  "frame",    "hr",
    "image",    "img",      "input",    "keygen",  "link", "meta", "param",  "source",   "track",
    "wbr",      "menuitem", "p",        "li",      "dt",   "dd",   "option", "optgroup", "rb",
    "rt",       "rp",       "rtc",      "tr",      "td",   "th",   "tbody",  "thead",    "tfoot",
    "colgroup", "caption",  "html",     "head",    "body"};
constexpr std::array<std::string_view, 4> kClosesItsOwnKind = {"a", "nobr", "button", "form"};
// Their content is text up to the matching end tag; they are skipped whole.
constexpr std::array<std::string_view, 8> kRawText = {"script", "style",  "textarea", "title",
                                                      "xmp",    "iframe", "noembed",  "noframes"};

bool Contains(auto const& list, std::string_view name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsNameChar(char c) {
  return IsAlpha(c) || (c >= '0' && c <= '9') || c == '-' || c == ':' || c == '_';
}

bool IsCounted(std::string_view name) {
  return !Contains(kNeverOpen, name) && !Contains(kClosesItsOwnKind, name) &&
         !Contains(kRawText, name);
}

bool IsForeignRoot(std::string_view name) { return name == "svg" || name == "math"; }

// Position of "</name" (any case) from pos on, or npos.
std::size_t FindEndTag(std::string_view html, std::size_t pos, std::string_view name) {
  while ((pos = html.find("</", pos)) != std::string_view::npos) {
    std::size_t i = 0;
    while (i < name.size() && pos + 2 + i < html.size() && Lower(html[pos + 2 + i]) == name[i]) {
      ++i;
    }
    if (i == name.size()) {
      return pos;
    }
    pos += 2;
  }
  return std::string_view::npos;
}

// The position of the ">" that ends a tag whose attributes start at pos, or npos.
// A quote opens a value only right after "=", as in the tokenizer.
std::size_t FindTagEnd(std::string_view html, std::size_t pos) {
  char quote = 0;
  char previous = 0;
  for (; pos < html.size(); ++pos) {
    const char c = html[pos];
    if (quote != 0) {
      if (c == quote) {
        quote = 0;
      }
    } else if ((c == '"' || c == '\'') && previous == '=') {
      quote = c;
    } else if (c == '>') {
      return pos;
    }
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\f') {
      previous = c;
    }
  }
  return std::string_view::npos;
}

}  // namespace

std::uint64_t EstimateParseWork(std::string_view html) {
  std::uint64_t work = 0;
  std::uint64_t depth = 0;
  std::uint64_t foreign = 0;  // inside svg or math, "/>" really closes an element
  std::size_t pos = 0;
  while ((pos = html.find('<', pos)) != std::string_view::npos) {
    if (html.substr(pos, 4) == "<!--") {
      const std::size_t close = html.find("-->", pos + 4);
      if (close == std::string_view::npos) break;
      pos = close + 3;
      continue;
    }
    const bool isEnd = pos + 1 < html.size() && html[pos + 1] == '/';
    const std::size_t nameStart = pos + 1 + (isEnd ? 1 : 0);
    if (nameStart >= html.size() || !IsAlpha(html[nameStart])) {
      pos = nameStart;  // "<!doctype", "<?", "< ", "a < b": no element
      continue;
    }
    std::size_t nameEnd = nameStart;
    std::string name;
    while (nameEnd < html.size() && IsNameChar(html[nameEnd])) {
      if (name.size() <= kNameLimit) name.push_back(Lower(html[nameEnd]));
      ++nameEnd;
    }
    const std::size_t tagEnd = FindTagEnd(html, nameEnd);
    if (tagEnd == std::string_view::npos) break;  // the parser drops an unfinished tag
    pos = tagEnd + 1;
    if (isEnd) {
      if (IsCounted(name) && depth > 0) --depth;
      if (IsForeignRoot(name) && foreign > 0) --foreign;
      continue;
    }
    work += depth;  // every start tag may look through the open elements
    const bool selfClosed = html[tagEnd - 1] == '/' && (foreign > 0 || IsForeignRoot(name));
    if (Contains(kRawText, name)) {
      const std::size_t close = FindEndTag(html, pos, name);
      if (close == std::string_view::npos) break;
      pos = close;
      continue;
    }
    if (name == "plaintext") break;  // the rest of the page is text
    if (selfClosed || !IsCounted(name)) continue;
    if (IsForeignRoot(name)) ++foreign;
    ++depth;
  }
  return work;
}

}  // namespace paginor
