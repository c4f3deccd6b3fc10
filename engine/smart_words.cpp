#include "engine/smart_words.h"

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

const WordIndex* IndexFor(std::string_view command) {
  static const WordIndex next(kNextWords), prev(kPrevWords), first(kFirstWords), last(kLastWords);
  if (command == "next") return &next;
  if (command == "prev") return &prev;
  if (command == "first") return &first;
  if (command == "last") return &last;
  return nullptr;
}

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

Mark TakeDecoration(std::string_view& text, bool fromFront, bool& doubled) {
  const char edge = fromFront ? text.front() : text.back();
  if (IsBlank(edge)) {
    fromFront ? text.remove_prefix(1) : text.remove_suffix(1);
    return Mark::Blank;
  }
  for (const Decoration& d : kDecorations) {
    if (fromFront ? text.starts_with(d.text) : text.ends_with(d.text)) {
      fromFront ? text.remove_prefix(d.text.size()) : text.remove_suffix(d.text.size());
      doubled = doubled || d.doubled;
      return d.mark;
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

std::string CollapseBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const std::size_t blank = BlankWidth(text);
    if (blank == 0) {
      out += text.front();
      text.remove_prefix(1);
      continue;
    }
    if (!out.empty() && out.back() != ' ') out += ' ';
    text.remove_prefix(blank);
  }
  return out;
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Page-number links beyond bare digits: "第7页", "page 7", "p. 7", "7 页".
constexpr std::string_view kNumberHeads[] = {"第", "page ", "page", "p. ", "p.", "seite ",
                                             "página ", "pagina ", "страница ", "стр. "};
constexpr std::string_view kNumberTails[] = {"页", "頁", " 页", "ページ", "페이지"};

std::optional<long> PageNumberOf(std::string_view core, bool& bare) {
  bare = AllDigits(core);
  if (!bare) {
    for (const std::string_view head : kNumberHeads) {
      if (core.starts_with(head)) {
        core.remove_prefix(head.size());
        break;
      }
    }
    for (const std::string_view tail : kNumberTails) {
      if (core.ends_with(tail)) {
        core.remove_suffix(tail.size());
        break;
      }
    }
    while (core.starts_with(' ')) core.remove_prefix(1);
    while (core.ends_with(' ')) core.remove_suffix(1);
  }
  if (!AllDigits(core) || core.size() > 5) return std::nullopt;
  long value = 0;
  for (const char c : core) value = value * 10 + (c - '0');
  if (value == 0) return std::nullopt;
  return value;
}

std::string_view TrimZeros(std::string_view digits) {
  while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
  return digits;
}

bool IsAsciiWordByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

TextScore ScoreWords(const PageText& text, std::string_view command) {
  const WordIndex* index = IndexFor(command);
  if (index == nullptr || text.core.empty()) return {};
  TextScore best;
  for (const Word* word : index->StartingWith(text.core.front())) {
    if (!std::string_view(text.core).starts_with(word->text)) continue;
    int score = 0;
    std::string how;
    if (text.core.size() == word->text.size()) {
      score = word->weight;
      how = "the word";
    } else {
      // A Latin word must end where a word ends: "next" does not begin "nextdoor".
      const char after = text.core[word->text.size()];
      const char last = word->text.back();
      if (IsAsciiWordByte(last) && IsAsciiWordByte(after)) continue;
      score = word->weight - 40;
      how = "begins with";
    }
    if (score > best.score) best = {score, how + " \"" + std::string(word->text) + "\""};
  }
  return best;
}

TextScore ScoreArrows(const PageText& text, std::string_view command) {
  if (!text.core.empty() || text.forward + text.backward == 0) return {};
  const bool on = text.forward > 0 && text.backward == 0;
  const bool back = text.backward > 0 && text.forward == 0;
  if ((command == "next" && on) || (command == "prev" && back)) {
    if (text.edge) return {};
    return text.doubled ? TextScore{40, "a double arrow"} : TextScore{45, "an arrow"};
  }
  if ((command == "last" && on) || (command == "first" && back)) {
    if (text.edge) return {45, "an arrow to the end"};
    if (text.doubled) return {20, "a double arrow"};
  }
  return {};
}

}  // namespace

std::string LowercaseWords(std::string_view text) {
  std::string out(text);
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
  return out;
}

PageText ReadPageText(std::string_view text) {
  PageText out;
  const std::string lowered = LowercaseWords(text);
  std::string_view rest = lowered;
  Strip(rest, true, out);
  Strip(rest, false, out);
  out.core = CollapseBlanks(rest);
  if (out.core.ends_with(' ')) out.core.pop_back();
  out.number = PageNumberOf(out.core, out.bareNumber);
  return out;
}

TextScore ScorePageText(const PageText& text, std::string_view command) {
  TextScore words = ScoreWords(text, command);
  if (words.score > 0) {
    const bool agrees = (command == "next" || command == "last") ? text.forward > 0
                                                                 : text.backward > 0;
    if (agrees && text.forward + text.backward > 0) {
      words.score += 5;
      words.reason += " with an arrow";
    }
    return words;
  }
  if (IsPageNumberCommand(command)) {
    if (text.number && std::to_string(*text.number) == TrimZeros(command)) {
      return {80, text.bareNumber ? "the page number" : "the page number in words"};
    }
    return {};
  }
  return ScoreArrows(text, command);
}

}  // namespace paginor
