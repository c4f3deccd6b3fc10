#include "calc/text_search.h"

#include <algorithm>
#include <map>

#include "calc/text_case.h"
#include "calc/utf8.h"

namespace paginor::calc {
namespace {

// Up to this length a plain search costs at most this many steps per byte.
constexpr std::size_t kShortNeedle = 32;

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

TextFinder::TextFinder(std::string_view needle) : needle_(needle) {
  if (needle_.size() <= kShortNeedle) return;
  fallback_.assign(needle_.size(), 0);
  std::size_t k = 0;
  for (std::size_t i = 1; i < needle_.size(); ++i) {
    while (k > 0 && needle_[i] != needle_[k]) k = fallback_[k - 1];
    if (needle_[i] == needle_[k]) ++k;
    fallback_[i] = k;
  }
}

std::size_t TextFinder::Find(std::string_view hay, std::size_t from) const {
  if (needle_.empty() || from > hay.size()) return std::string_view::npos;
  if (fallback_.empty()) return hay.find(needle_, from);
  std::size_t k = 0;
  for (std::size_t i = from; i < hay.size(); ++i) {
    while (k > 0 && hay[i] != needle_[k]) k = fallback_[k - 1];
    if (hay[i] == needle_[k]) ++k;
    if (k == needle_.size()) return i + 1 - k;
  }
  return std::string_view::npos;
}

std::size_t FindText(std::string_view hay, std::string_view needle, std::size_t from) {
  return TextFinder(needle).Find(hay, from);
}

FoldedText FoldCase(std::string_view text) {
  FoldedText folded;
  folded.text.reserve(text.size());
  folded.origin.reserve(text.size() + 1);
  std::map<char32_t, std::string> cache;  // a long text repeats few distinct letters
  std::size_t length = 0;
  for (std::size_t at = 0; at < text.size(); at += length) {
    const char32_t code = DecodeUtf8At(text, at, length);
    if (code < 0x80) {
      folded.text.push_back(UpperAscii(text[at]));
    } else {
      auto hit = cache.find(code);
      if (hit == cache.end()) hit = cache.emplace(code, UpperText(text.substr(at, length))).first;
      folded.text += hit->second;
    }
    folded.origin.resize(folded.text.size(), at);
  }
  folded.origin.push_back(text.size());
  return folded;
}

std::optional<std::string> ReplaceText(std::string_view s, std::string_view old,
                                       std::string_view replacement, ReplaceOptions options) {
  FoldedText folded;
  std::string foldedOld;
  std::string_view hay = s;
  std::string_view needle = old;
  if (options.ignoreCase && !old.empty()) {
    folded = FoldCase(s);
    foldedOld = FoldCase(old).text;
    hay = folded.text;
    needle = foldedOld;
  }
  const auto original = [&](std::size_t at) {
    return hay.data() == s.data() ? at : folded.origin[at];
  };
  const TextFinder finder(needle);
  std::string out;
  std::size_t done = 0;  // original offset copied so far
  std::size_t from = 0;  // searched offset
  for (std::size_t hit = finder.Find(hay, from); hit != std::string_view::npos;
       hit = finder.Find(hay, from)) {
    const std::size_t start = original(hit);
    const std::size_t end = original(hit + needle.size());
    if (start >= done) {
      out.append(s.substr(done, start - done));
      out.append(replacement);
      done = std::max(done, end);
    }
    if (out.size() > options.maxBytes) return std::nullopt;
    from = hit + needle.size();
    if (!options.all) break;
  }
  out.append(s.substr(std::min(done, s.size())));
  if (out.size() > options.maxBytes) return std::nullopt;
  return out;
}

}  // namespace paginor::calc
