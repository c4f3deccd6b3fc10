#include "calc/wildcard.h"

#include <optional>
#include <utility>
#include <vector>

#include "calc/utf8.h"

namespace paginor::calc {
namespace {

struct MaskElement {
  enum class Type { kAnyRun, kAnyOne, kChar, kSet } type = Type::kChar;
  char32_t code = 0;
  bool negate = false;
  std::vector<std::pair<char32_t, char32_t>> ranges;
};

char32_t Fold(char32_t c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }

// Reads the set whose "[" stands before codes[at]; leaves `at` after its "]".
std::optional<MaskElement> CompileSet(const std::vector<char32_t>& codes, std::size_t& at) {
  MaskElement set;
  set.type = MaskElement::Type::kSet;
  if (at < codes.size() && codes[at] == '!') {
    set.negate = true;
    ++at;
  }
  while (at < codes.size() && codes[at] != ']') {
    const char32_t first = Fold(codes[at]);
    if (at + 2 < codes.size() && codes[at + 1] == '-' && codes[at + 2] != ']') {
      set.ranges.emplace_back(first, Fold(codes[at + 2]));
      at += 3;
    } else {
      set.ranges.emplace_back(first, first);
      ++at;
    }
  }
  if (at >= codes.size() || set.ranges.empty()) return std::nullopt;
  ++at;
  return set;
}

std::optional<std::vector<MaskElement>> CompileMask(std::string_view pattern) {
  const std::vector<char32_t> codes = DecodeUtf8(pattern);
  std::vector<MaskElement> mask;
  for (std::size_t at = 0; at < codes.size();) {
    const char32_t c = codes[at++];
    if (c == '*') {
      if (mask.empty() || mask.back().type != MaskElement::Type::kAnyRun) {
        mask.push_back({MaskElement::Type::kAnyRun, 0, false, {}});
      }
    } else if (c == '?') {
      mask.push_back({MaskElement::Type::kAnyOne, 0, false, {}});
    } else if (c == '[') {
      auto set = CompileSet(codes, at);
      if (!set) return std::nullopt;
      mask.push_back(std::move(*set));
    } else {
      mask.push_back({MaskElement::Type::kChar, Fold(c), false, {}});
    }
  }
  return mask;
}

bool MatchesOne(const MaskElement& element, char32_t c) {
  switch (element.type) {
    case MaskElement::Type::kAnyOne: return true;
    case MaskElement::Type::kChar: return element.code == c;
    case MaskElement::Type::kSet: {
      bool inside = false;
      for (const auto& [low, high] : element.ranges) inside = inside || (c >= low && c <= high);
      return inside != element.negate;
    }
    case MaskElement::Type::kAnyRun: break;
  }
  return false;
}

}  // namespace

WildcardOutcome MatchWildcard(std::string_view text, std::string_view pattern,
                              std::size_t maxSteps) {
  WildcardOutcome outcome;
  const auto mask = CompileMask(pattern);
  if (!mask) {
    outcome.result = WildcardResult::kMalformed;
    return outcome;
  }
  std::vector<char32_t> codes = DecodeUtf8(text);
  for (char32_t& c : codes) c = Fold(c);
  // Greedy walk that, on a mismatch, lets the last "*" take one character more.
  std::size_t t = 0;
  std::size_t m = 0;
  std::optional<std::size_t> starMask;
  std::size_t starText = 0;
  const auto& elements = *mask;
  while (t < codes.size()) {
    outcome.steps += 1 + (m < elements.size() ? elements[m].ranges.size() : 0);
    if (outcome.steps > maxSteps) {
      outcome.result = WildcardResult::kTooComplex;
      return outcome;
    }
    if (m < elements.size() && elements[m].type == MaskElement::Type::kAnyRun) {
      starMask = m++;
      starText = t;
    } else if (m < elements.size() && MatchesOne(elements[m], codes[t])) {
      ++m;
      ++t;
    } else if (starMask) {
      m = *starMask + 1;
      t = ++starText;
    } else {
      return outcome;
    }
  }
  while (m < elements.size() && elements[m].type == MaskElement::Type::kAnyRun) ++m;
  outcome.result = m == elements.size() ? WildcardResult::kMatch : WildcardResult::kNoMatch;
  return outcome;
}

}  // namespace paginor::calc
