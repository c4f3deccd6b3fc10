#include "engine/smart_words.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/command.h"

namespace paginor {
namespace {

struct Word {
  std::string_view text;  // lowercase
  int weight;             // the score of a text that is this word alone
};

// Gathered from the page links of forums, blogs, shops, search engines and novel sites.
// Weak words (more, older, 次) also name other things, so they weigh less.
constexpr Word kNextWords[] = {
    {"下一页", 100}, {"下页", 100}, {"后一页", 100}, {"后页", 100}, {"下一頁", 100},
    {"下頁", 100}, {"下一章", 100}, {"下一节", 100}, {"下一張", 100}, {"下一张", 100},
    {"下一篇", 95}, {"下一回", 95}, {"下一話", 95}, {"下一话", 95}, {"翻下页", 95},
    {"next", 100}, {"next page", 100}, {"next chapter", 100},
    {"older posts", 95}, {"older entries", 95}, {"older", 70}, {"more", 60},
    {"more results", 80}, {"continue", 70}, {"continue reading", 75},
    {"次へ", 100}, {"次のページ", 100}, {"次ページ", 100}, {"次の章", 95}, {"次", 70},
    {"다음", 100}, {"다음 페이지", 100}, {"다음페이지", 100},
    {"weiter", 95}, {"nächste", 100}, {"nächste seite", 100}, {"vorwärts", 80},
    {"suivant", 100}, {"suivante", 100}, {"page suivante", 100},
    {"siguiente", 100}, {"página siguiente", 100}, {"próximo", 100}, {"próxima", 100},
    {"próxima página", 100}, {"seguinte", 95},
    {"следующая", 100}, {"следующая страница", 100}, {"далее", 95}, {"вперед", 90},
    {"вперёд", 90}, {"successivo", 95}, {"avanti", 85},
};

constexpr Word kPrevWords[] = {
    {"上一页", 100}, {"上页", 100}, {"前一页", 100}, {"前页", 100}, {"上一頁", 100},
    {"上頁", 100}, {"上一章", 100}, {"上一节", 100}, {"上一張", 100}, {"上一张", 100},
    {"上一篇", 95}, {"上一回", 95}, {"上一話", 95}, {"上一话", 95}, {"翻上页", 95},
    {"previous", 100}, {"prev", 100}, {"previous page", 100}, {"previous chapter", 100},
    {"newer posts", 95}, {"newer entries", 95}, {"newer", 70},
    {"前へ", 100}, {"前のページ", 100}, {"前ページ", 100}, {"前の章", 95}, {"前", 70},
    {"이전", 100}, {"이전 페이지", 100}, {"이전페이지", 100},
    {"zurück", 90}, {"vorherige", 100}, {"vorherige seite", 100},
    {"précédent", 100}, {"précédente", 100}, {"page précédente", 100},
    {"anterior", 100}, {"página anterior", 100},
    {"предыдущая", 100}, {"предыдущая страница", 100}, {"назад", 90},
    {"precedente", 95}, {"indietro", 85},
};

constexpr Word kFirstWords[] = {
    {"首页", 100}, {"首頁", 100}, {"第一页", 100}, {"第一頁", 100}, {"最前页", 95},
    {"first", 100}, {"first page", 100}, {"最初", 90}, {"最初のページ", 100}, {"先頭", 90},
    {"처음", 100}, {"맨앞", 90}, {"erste", 95}, {"erste seite", 100}, {"première", 95},
    {"première page", 100}, {"primera", 95}, {"primera página", 100}, {"primeira", 95},
    {"primeira página", 100}, {"первая", 95}, {"первая страница", 100}, {"в начало", 90},
    {"prima", 80},
};

constexpr Word kLastWords[] = {
    {"末页", 100}, {"尾页", 100}, {"末頁", 100}, {"尾頁", 100}, {"最后一页", 100},
    {"最后页", 100}, {"最後一頁", 100}, {"last", 100}, {"last page", 100}, {"最後", 90},
    {"最後のページ", 100}, {"最終ページ", 100}, {"마지막", 100}, {"맨끝", 90},
    {"letzte", 95}, {"letzte seite", 100}, {"dernière", 95}, {"dernière page", 100},
    {"última", 95}, {"última página", 100}, {"последняя", 95},
    {"последняя страница", 100}, {"в конец", 90}, {"ultima", 80},
};

enum class Mark { None, Blank, Forward, Backward, Bar, Other };

struct Decoration {
  std::string_view text;
  Mark mark;
  bool doubled;
};

// What may stand around the words of a page link. Longer entries first where one
// begins another.
constexpr Decoration kDecorations[] = {
    {"&gt;&gt;", Mark::Forward, true}, {"&lt;&lt;", Mark::Backward, true},
    {"&gt;", Mark::Forward, false},    {"&lt;", Mark::Backward, false},
    {"&raquo;", Mark::Forward, true},  {"&laquo;", Mark::Backward, true},
    {"&nbsp;", Mark::Blank, false},    {">>", Mark::Forward, true},
    {"<<", Mark::Backward, true},      {">", Mark::Forward, false},
    {"<", Mark::Backward, false},      {"»", Mark::Forward, true},
    {"«", Mark::Backward, true},       {"›", Mark::Forward, false},
    {"‹", Mark::Backward, false},      {"→", Mark::Forward, false},
    {"←", Mark::Backward, false},      {"≫", Mark::Forward, true},
    {"≪", Mark::Backward, true},       {"▶", Mark::Forward, false},
    {"◀", Mark::Backward, false},      {"►", Mark::Forward, false},
    {"◄", Mark::Backward, false},      {"＞", Mark::Forward, false},
    {"＜", Mark::Backward, false},     {"⟩", Mark::Forward, false},
    {"⟨", Mark::Backward, false},      {"|", Mark::Bar, false},
    {"｜", Mark::Bar, false},          {"\xC2\xA0", Mark::Blank, false},
    {"\xE3\x80\x80", Mark::Blank, false},
    {"【", Mark::Other, false}, {"】", Mark::Other, false}, {"「", Mark::Other, false},
    {"」", Mark::Other, false}, {"《", Mark::Other, false}, {"》", Mark::Other, false},
    {"〔", Mark::Other, false}, {"〕", Mark::Other, false}, {"（", Mark::Other, false},
    {"）", Mark::Other, false}, {"［", Mark::Other, false}, {"］", Mark::Other, false},
    {"…", Mark::Other, false},  {"·", Mark::Other, false},  {"・", Mark::Other, false},
    {"：", Mark::Other, false}, {"。", Mark::Other, false},
};

constexpr std::string_view kAsciiDecorations = "[](){}:;.,-_=*\"'!/~#+";

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// The decorations by the byte they begin and the byte they end with, in list order:
// an edge is compared only with the few that can stand there.
struct EdgeIndex {
  std::array<std::vector<const Decoration*>, 256> first;
  std::array<std::vector<const Decoration*>, 256> last;
  EdgeIndex() {
    for (const Decoration& d : kDecorations) {
      first[static_cast<unsigned char>(d.text.front())].push_back(&d);
      last[static_cast<unsigned char>(d.text.back())].push_back(&d);
    }
  }
};

Mark TakeDecoration(std::string_view& text, bool fromFront, bool& doubled) {
  static const EdgeIndex kEdges;
  const char edge = fromFront ? text.front() : text.back();
  if (IsBlank(edge)) {
    fromFront ? text.remove_prefix(1) : text.remove_suffix(1);
    return Mark::Blank;
  }
  const auto byte = static_cast<unsigned char>(edge);
  for (const Decoration* d : fromFront ? kEdges.first[byte] : kEdges.last[byte]) {
    if (fromFront ? text.starts_with(d->text) : text.ends_with(d->text)) {
      fromFront ? text.remove_prefix(d->text.size()) : text.remove_suffix(d->text.size());
      doubled = doubled || d->doubled;
      return d->mark;
    }
  }
  if (kAsciiDecorations.find(edge) != std::string_view::npos) {
    fromFront ? text.remove_prefix(1) : text.remove_suffix(1);
    return Mark::Other;
  }
  return Mark::None;
}

void Strip(std::string_view& text, bool fromFront, PageText& out) {
  bool arrowSeen = false, barSeen = false;
  while (!text.empty()) {
    const Mark mark = TakeDecoration(text, fromFront, out.doubled);
    if (mark == Mark::None) break;
    if (mark == Mark::Forward) ++out.forward;
    if (mark == Mark::Backward) ++out.backward;
    arrowSeen = arrowSeen || mark == Mark::Forward || mark == Mark::Backward;
    barSeen = barSeen || mark == Mark::Bar;
  }
  out.edge = out.edge || (arrowSeen && barSeen);
}

// The width of the blank at the start of text: ASCII blanks and controls, the no-break
// space and the ideographic space; 0 for anything else.
std::size_t BlankWidth(std::string_view text) {
  if (IsBlank(text.front())) return 1;
  if (text.starts_with("\xC2\xA0")) return 2;
  if (text.starts_with("\xE3\x80\x80")) return 3;
  return 0;
}

// The words with every run of blanks made one blank and the letters lowercased: one
// pass, since every link of a long page goes through it.
void CoreOf(std::string_view text, std::string& out, bool& wideLetters) {
  out.resize(text.size());
  char* const begin = out.data();
  char* o = begin;
  bool blank = false;
  for (std::size_t i = 0; i < text.size();) {
    auto c = static_cast<unsigned char>(text[i]);
    const std::size_t width = (c > 0x20 && c != 0xC2 && c != 0xE3) ? 0 : BlankWidth(text.substr(i));
    if (width > 0) {
      blank = true;
      i += width;
      continue;
    }
    if (blank && o != begin) *o++ = ' ';
    blank = false;
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
    wideLetters = wideLetters || c == 0xC3 || c == 0xD0;
    *o++ = static_cast<char>(c);
    ++i;
  }
  out.resize(static_cast<std::size_t>(o - begin));
}

// Page-number links beyond bare digits: "第7页", "page 7", "p. 7", "7 页".
constexpr std::string_view kNumberHeads[] = {"第", "第 ", "p ", "page ", "page", "p. ", "p.", "seite ",
                                             "página ", "pagina ", "страница ", "стр. "};
constexpr std::string_view kNumberTails[] = {"页", "頁", " 页", " 頁", "ページ", "페이지"};

std::optional<long> PageNumberOf(std::string_view core, bool& bare) {
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  const std::size_t first = static_cast<std::size_t>(std::find_if(core.begin(), core.end(), isDigit) - core.begin());
  if (first == core.size()) return std::nullopt;
  std::size_t end = first;
  while (end < core.size() && isDigit(core[end])) ++end;
  // The words around the number must be the whole rest: "第7页", "page 7", "7".
  const std::string_view head = core.substr(0, first);
  const std::string_view tail = core.substr(end);
  const auto listed = [](std::string_view part, const auto& list) {
    return part.empty() || std::any_of(std::begin(list), std::end(list), [&](std::string_view w) {
             return w.size() == part.size() && w == part;
           });
  };
  bare = head.empty() && tail.empty();
  if (!listed(head, kNumberHeads) || !listed(tail, kNumberTails)) return std::nullopt;
  if (end - first > 5) return std::nullopt;
  long value = 0;
  for (const char c : core.substr(first, end - first)) value = value * 10 + (c - '0');
  if (value == 0) return std::nullopt;
  return value;
}

bool IsAsciiWordByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

// Words of a list by their first byte, so a text is compared only with the few words
// that can begin it.
class WordIndex {
 public:
  explicit WordIndex(std::span<const Word> words) {
    for (const Word& word : words) buckets_[static_cast<unsigned char>(word.text[0])].push_back(&word);
  }
  const std::vector<const Word*>& StartingWith(char c) const {
    return buckets_[static_cast<unsigned char>(c)];
  }

 private:
  std::array<std::vector<const Word*>, 256> buckets_;
};

namespace {

void LowercaseInPlace(std::string& out) {
  for (std::size_t i = 0; i < out.size(); ++i) {
    auto& b = reinterpret_cast<unsigned char&>(out[i]);
    if (b >= 'A' && b <= 'Z') {
      b = static_cast<unsigned char>(b + 32);
      continue;
    }
    if (i + 1 >= out.size()) break;
    auto& n = reinterpret_cast<unsigned char&>(out[i + 1]);
    if (b == 0xC3 && n >= 0x80 && n <= 0x9E && n != 0x97) {
      n = static_cast<unsigned char>(n + 0x20);  // À..Þ except ×
    } else if (b == 0xD0 && n >= 0x90 && n <= 0x9F) {
      n = static_cast<unsigned char>(n + 0x20);  // А..П
    } else if (b == 0xD0 && n >= 0xA0 && n <= 0xAF) {
      b = 0xD1;  // Р..Я
      n = static_cast<unsigned char>(n - 0x20);
    } else if (b == 0xD0 && n >= 0x80 && n <= 0x8F) {
      b = 0xD1;  // Ѐ..Џ
      n = static_cast<unsigned char>(n + 0x10);
    }
    if (b >= 0xC0) ++i;
  }
}

}  // namespace

std::string LowercaseWords(std::string_view text) {
  std::string out(text);
  LowercaseInPlace(out);
  return out;
}

PageText ReadPageText(std::string_view text) {
  PageText out;
  ReadPageText(text, out);
  return out;
}


PageTextScorer::PageTextScorer(std::string_view command) {
  static const WordIndex next(kNextWords), prev(kPrevWords), first(kFirstWords), last(kLastWords);
  if (command == "next") {
    want_ = Want::Next;
    index_ = &next;
  } else if (command == "prev") {
    want_ = Want::Prev;
    index_ = &prev;
  } else if (command == "first") {
    want_ = Want::First;
    index_ = &first;
  } else if (command == "last") {
    want_ = Want::Last;
    index_ = &last;
  } else if (IsPageNumberCommand(command) && command.size() <= 9) {
    want_ = Want::Page;
    for (const char c : command) {
      if (c < '0' || c > '9') {
        want_ = Want::None;
        break;
      }
      page_ = page_ * 10 + (c - '0');
    }
  }
}

TextScore PageTextScorer::Words(const PageText& text) const {
  if (index_ == nullptr || text.core.empty()) return {};
  const Word* best = nullptr;
  int bestScore = 0;
  const std::string_view core = text.core;
  for (const Word* word : index_->StartingWith(core.front())) {
    // Every word has two bytes at least; the second rules out most before a comparison.
    if (word->text.size() > core.size() || word->text[1] != core[1]) continue;
    if (!core.starts_with(word->text)) continue;
    int score = word->weight;
    if (text.core.size() != word->text.size()) {
      // A Latin word must end where a word ends: "next" does not begin "nextdoor".
      const char after = text.core[word->text.size()];
      if (IsAsciiWordByte(word->text.back()) && IsAsciiWordByte(after)) continue;
      score -= 40;
    }
    if (score > bestScore) {
      best = word;
      bestScore = score;
    }
  }
  if (best == nullptr) return {};
  const bool whole = text.core.size() == best->text.size();
  return {bestScore, (whole ? "the word \"" : "begins with \"") + std::string(best->text) + "\""};
}

TextScore PageTextScorer::Arrows(const PageText& text) const {
  if (!text.core.empty() || text.forward + text.backward == 0) return {};
  const bool on = text.forward > 0 && text.backward == 0;
  const bool back = text.backward > 0 && text.forward == 0;
  if ((want_ == Want::Next && on) || (want_ == Want::Prev && back)) {
    if (text.edge) return {};
    return text.doubled ? TextScore{40, "a double arrow"} : TextScore{45, "an arrow"};
  }
  if ((want_ == Want::Last && on) || (want_ == Want::First && back)) {
    if (text.edge) return {45, "an arrow to the end"};
    if (text.doubled) return {20, "a double arrow"};
  }
  return {};
}

TextScore PageTextScorer::Score(const PageText& text) const {
  if (want_ == Want::Page) {
    if (text.number == page_) {
      return {80, text.bareNumber ? "the page number" : "the page number in words"};
    }
    return {};
  }
  TextScore words = Words(text);
  if (words.score > 0) {
    const bool agrees =
        (want_ == Want::Next || want_ == Want::Last) ? text.forward > 0 : text.backward > 0;
    if (agrees) {
      words.score += 5;
      words.reason += " with an arrow";
    }
    return words;
  }
  return Arrows(text);
}

namespace {

// The first two bytes of every word of every list, as bits.
class WordPairs {
 public:
  WordPairs() : bits_(1 << 16) {
    for (const auto& list : {std::span<const Word>(kNextWords), std::span<const Word>(kPrevWords),
                             std::span<const Word>(kFirstWords), std::span<const Word>(kLastWords)}) {
      for (const Word& word : list) bits_[Pair(word.text[0], word.text[1])] = true;
    }
  }
  bool Has(char first, char second) const { return bits_[Pair(first, second)]; }

 private:
  static std::size_t Pair(char first, char second) {
    return static_cast<std::size_t>(static_cast<unsigned char>(first)) << 8 |
           static_cast<unsigned char>(second);
  }
  std::vector<bool> bits_;
};

const WordPairs& Pairs() {
  static const WordPairs kPairs;
  return kPairs;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// The words around a page number as MayBeListed compares them: without blanks.
constexpr std::string_view kHeadWords[] = {"第", "page", "p.", "p", "seite", "página", "pagina",
                                           "страница", "стр."};
constexpr std::string_view kTailWords[] = {"页", "頁", "ページ", "페이지"};
constexpr std::size_t kLongestAroundNumber = 16;

// Whether part, with blanks at its ends ignored and A-Z lowercased, is one of the words.
// Two-byte letters may be capitals: they pass.
bool MayBeListed(std::string_view part, std::span<const std::string_view> words) {
  while (!part.empty() && IsBlank(part.front())) part.remove_prefix(1);
  while (!part.empty() && IsBlank(part.back())) part.remove_suffix(1);
  if (part.empty()) return true;
  if (part.size() > kLongestAroundNumber) return false;
  char lowered[kLongestAroundNumber];
  for (std::size_t i = 0; i < part.size(); ++i) {
    const auto u = static_cast<unsigned char>(part[i]);
    if (u >= 0xC0 && u < 0xE0) return true;
    lowered[i] = LowerAscii(part[i]);
  }
  const std::string_view word(lowered, part.size());
  return std::any_of(words.begin(), words.end(), [&](std::string_view w) { return w == word; });
}

// The quick look on a text already stripped of its decorations: could it be a page
// number, or begin a listed word?
bool StrippedMayMatter(std::string_view rest, const PageText& marks) {
  if (marks.forward + marks.backward > 0) return true;
  if (rest.size() >= 2) {
    const auto lead = static_cast<unsigned char>(rest[0]);
    if (lead >= 0xC0 && lead < 0xE0) return true;  // a capital's lowercase pair may be listed
    if (Pairs().Has(LowerAscii(rest[0]), LowerAscii(rest[1]))) return true;
  }
  const auto first = std::find_if(rest.begin(), rest.end(), IsAsciiDigit);
  if (first == rest.end()) return false;
  const auto end = std::find_if_not(first, rest.end(), IsAsciiDigit);
  const auto at = [&](auto it) { return static_cast<std::size_t>(it - rest.begin()); };
  return MayBeListed(rest.substr(0, at(first)), kHeadWords) &&
         MayBeListed(rest.substr(at(end)), kTailWords);
}

// out: marks already taken; rest: the text between them.
void FillPageText(std::string_view rest, PageText& out) {
  std::string core = std::move(out.core);
  bool wideLetters = false;
  CoreOf(rest, core, wideLetters);
  // Capitals beyond ASCII: À..Þ and Cyrillic.
  if (wideLetters) LowercaseInPlace(core);
  out.core = std::move(core);
  out.number = PageNumberOf(out.core, out.bareNumber);
}

// Clears out for a new text, keeping its buffer.
void Reset(PageText& out) {
  std::string buffer = std::move(out.core);
  out = PageText{};
  out.core = std::move(buffer);
}

}  // namespace

void ReadPageText(std::string_view text, PageText& out) {
  Reset(out);
  // Decorations have no capitals, so the words are lowercased only once they are alone.
  Strip(text, true, out);
  Strip(text, false, out);
  FillPageText(text, out);
}

bool MayNamePage(const PageText& text) {
  if (text.forward + text.backward > 0) return true;
  return text.core.size() >= 2 && Pairs().Has(text.core[0], text.core[1]);
}

bool MayMatter(std::string_view text) {
  PageText marks;
  Strip(text, true, marks);
  Strip(text, false, marks);
  return StrippedMayMatter(text, marks);
}

bool ReadPageTextIfItMatters(std::string_view text, PageText& out) {
  Reset(out);
  Strip(text, true, out);
  Strip(text, false, out);
  if (!StrippedMayMatter(text, out)) return false;
  FillPageText(text, out);
  return true;
}

TextScore ScorePageText(const PageText& text, std::string_view command) {
  return PageTextScorer(command).Score(text);
}

}  // namespace paginor
