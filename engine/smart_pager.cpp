#include "engine/smart_pager.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace paginor {
namespace {

// A pager sits a few elements above its links; a wrapper this far up or this large
// holds the page's content as well, and a link in it says nothing.
constexpr int kMaxDepth = 8;
constexpr std::size_t kMaxPagerMarkup = 64 * 1024;
constexpr std::size_t kMaxTagShown = 80;
constexpr std::string_view kCurrentClasses[] = {"current", "active", "on"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::vector<long> Numbers(std::string_view text) {
  std::vector<long> numbers;
  for (std::size_t at = 0; at < text.size();) {
    if (!IsDigit(text[at])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < text.size() && IsDigit(text[end])) ++end;
    if (end - at <= 5) {
      long value = 0;
      for (const char c : text.substr(at, end - at)) value = value * 10 + (c - '0');
      numbers.push_back(value);
    }
    at = end;
  }
  return numbers;
}

// "<a " or "<a>" in either case, twice at least.
bool HoldsTwoLinks(std::string_view markup) {
  int links = 0;
  for (std::size_t at = markup.find('<'); at != std::string_view::npos; at = markup.find('<', at + 1)) {
    if (at + 2 >= markup.size() || (markup[at + 1] | 0x20) != 'a') continue;
    const char after = markup[at + 2];
    if ((IsBlank(after) || after == '>') && ++links == 2) return true;
  }
  return false;
}

std::string StartTag(std::string_view markup) {
  std::string_view tag = markup.substr(0, markup.find('>') + 1);
  if (tag.empty() || tag.size() > kMaxTagShown) tag = markup.substr(0, std::min(markup.size(), kMaxTagShown));
  std::string out;
  for (const char c : tag) out += IsBlank(c) ? ' ' : c;
  return out;
}

bool HasClass(std::string_view classes, std::string_view wanted) {
  return !MatchingToken(classes, std::span(&wanted, 1)).empty();
}

std::string CurrentClass(LinkElement& element) {
  const std::string classes = element.Attribute("class").value_or("");
  for (const std::string_view name : kCurrentClasses) {
    if (HasClass(classes, name)) return "class \"" + std::string(name) + "\"";
  }
  return {};
}

}  // namespace

std::optional<PagerBlock> FindPagerBlock(LinkElement& first, LinkElement& last) try {
  const bool lone = &first == &last;
  const std::optional<std::string> lastMarkup = last.OuterHtml();
  if (!lastMarkup || lastMarkup->empty()) return std::nullopt;
  std::unique_ptr<LinkElement> at = first.ParentElement();
  for (int depth = 0; at != nullptr && depth < kMaxDepth; ++depth, at = at->ParentElement()) {
    std::optional<std::string> markup = at->OuterHtml();
    if (!markup || markup->size() > kMaxPagerMarkup) return std::nullopt;
    if (markup->find(*lastMarkup) == std::string::npos) continue;
    std::string text = at->OuterText().value_or("");
    if (lone && !HoldsTwoLinks(*markup) && Numbers(text).size() < 2) continue;
    std::string tag = StartTag(*markup);
    return PagerBlock{std::move(*markup), std::move(text), std::move(tag)};
  }
  return std::nullopt;
} catch (...) {
  return std::nullopt;
}

bool StandsIn(LinkElement& link, const PagerBlock& block) try {
  std::unique_ptr<LinkElement> at = link.ParentElement();
  for (int depth = 0; at != nullptr && depth < kMaxDepth; ++depth, at = at->ParentElement()) {
    const std::optional<std::string> markup = at->OuterHtml();
    // Ancestors only grow: one larger than the block is beyond it.
    if (!markup || markup->size() > block.markup.size()) return false;
    if (*markup == block.markup) return true;
  }
  return false;
} catch (...) {
  return false;
}

std::string CurrentMark(LinkElement& link) try {
  const std::optional<std::string> aria = link.Attribute("aria-current");
  if (aria && *aria != "false") return "aria-current";
  std::string mark = CurrentClass(link);
  if (!mark.empty()) return mark;
  // <li class="active"><a>3</a></li>
  const std::unique_ptr<LinkElement> parent = link.ParentElement();
  if (parent == nullptr) return {};
  mark = CurrentClass(*parent);
  return mark.empty() ? mark : mark + " on its parent";
} catch (...) {
  return {};
}

std::optional<long> UnlinkedNumber(std::string_view text, const std::set<long>& linked) {
  if (linked.empty()) return std::nullopt;
  std::set<long> unlinked;
  for (const long n : Numbers(text)) {
    // "Page 3 of 20" and "results 41-60" stand in some pagers too; only a number where
    // the links' run would have it is the current page.
    if (n >= 1 && n >= *linked.begin() - 1 && n <= *linked.rbegin() + 1 && !linked.contains(n)) {
      unlinked.insert(n);
    }
  }
  if (unlinked.size() != 1) return std::nullopt;
  return *unlinked.begin();
}

std::string_view MatchingToken(std::string_view list, std::span<const std::string_view> wanted) {
  std::size_t at = 0;
  while (at < list.size()) {
    while (at < list.size() && IsBlank(list[at])) ++at;
    std::size_t end = at;
    while (end < list.size() && !IsBlank(list[end])) ++end;
    const std::string_view word = list.substr(at, end - at);
    for (const std::string_view token : wanted) {
      if (std::equal(word.begin(), word.end(), token.begin(), token.end(),
                     [](char a, char b) { return (a | 0x20) == b; })) {
        return token;
      }
    }
    at = end;
  }
  return {};
}

}  // namespace paginor
