#pragma once
// The smart fallback's reading of a link text: the words and arrows that mean a page
// link in many languages, and how strongly a text says "next", "prev", "first", "last"
// or a page number.

#include <optional>
#include <string>
#include <string_view>

namespace paginor {

// A link text taken apart: the words between the decorations (brackets, arrows,
// punctuation, blanks) at its ends, and the arrows found there.
struct PageText {
  std::string core;       // lowercase, inner blanks as one blank, decorations gone
  int forward = 0;        // arrows pointing on: ">", "›", "→", "»", ">>"
  int backward = 0;       // arrows pointing back
  bool doubled = false;   // "»", "«", ">>", "<<": often last/first beside single arrows
  bool edge = false;      // a bar beside an arrow, ">|" or "|<": the end of the list
  std::optional<long> number;  // "7", "[7]", "第7页", "Page 7": a page number link
  bool bareNumber = false;     // the core is the digits alone
};

PageText ReadPageText(std::string_view text);
// The same into out, whose buffer is reused: for pages of thousands of links.
void ReadPageText(std::string_view text, PageText& out);

// Lowercases A-Z, the Latin-1 capitals and Cyrillic, in UTF-8.
std::string LowercaseWords(std::string_view text);

struct TextScore {
  int score = 0;       // 0: the text does not name the command
  std::string reason;  // what in it scored, for the explanation
};

class WordIndex;

// The score of the text's own words and arrows for one command; page numbers, the
// pagination block and the address are weighed by the caller. Made once per command:
// a page may have thousands of links.
class PageTextScorer {
 public:
  explicit PageTextScorer(std::string_view command);
  TextScore Score(const PageText& text) const;

 private:
  enum class Want { None, Next, Prev, First, Last, Page };
  TextScore Words(const PageText& text) const;
  TextScore Arrows(const PageText& text) const;

  Want want_ = Want::None;
  const WordIndex* index_ = nullptr;
  long page_ = 0;
};

TextScore ScorePageText(const PageText& text, std::string_view command);

// False when no command's words or arrows can be in the text: its first two bytes begin
// no listed word. Spares nearly every link the scoring.
bool MayNamePage(const PageText& text);

// False when ReadPageText would find neither a page number nor anything MayNamePage
// accepts: the quick look most links of a long page get instead.
bool MayMatter(std::string_view text);
// ReadPageText after that look, in one pass over the decorations: false (and out not
// filled) when the text cannot matter.
bool ReadPageTextIfItMatters(std::string_view text, PageText& out);

}  // namespace paginor
