#pragma once
// Whether a link is the one a command wants: built-in keywords first, then the rule
// lines of the command's definition set, in set order.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/browser_model.h"
#include "engine/rule_set.h"

namespace paginor {

// A candidate matches when it, followed by one blank, occurs in the string, so the
// tail of any listed word matches too ("一页" is "prev", "next" and "first").
inline constexpr std::string_view kPrevKeywords = "上页 前页 上一页 前一页 prev  previous ";
inline constexpr std::string_view kNextKeywords = "下页 后页 下一页 后一页 next ";
inline constexpr std::string_view kFirstKeywords = "1 第一页 first ";
inline constexpr std::string_view kLastKeywords = "末页 最后页 最后一页 last ";

// The keyword string of "prev", "next", "first" or "last"; empty for any other command.
std::string_view KeywordString(std::string_view command);

enum class MatchKind {
  None,
  Keyword,
  CodeRule,
  PlainRule,
  SpecialRule,
  PageNumberRule,
  ReadFailed,  // the link's text, or its own HTML for a "[代码]" rule, could not be read
};

// How one rule line fared, for explanations.
enum class RuleVerdict {
  Blank,             // empty, or only blanks
  Comment,           // begins with "#"
  TemplateLine,      // a "[网址=" line: a URL template, not a link rule
  Malformed,         // "[特别=" without a site
  NeverHits,         // "*" alone
  NoMatch,
  WrongSite,         // "[特别=": the page's address does not begin with the site
  ParentUnreadable,  // "[扩展]": the parent element could not be read
  HtmlUnreadable,    // "[代码]": the link's HTML could not be read
  Hit,
};

struct RuleTrial {
  std::size_t line = 0;  // the line's position in the set
  RuleVerdict verdict = RuleVerdict::NoMatch;
};

// What MatchLink saw of one link, when asked to tell.
struct MatchTrace {
  std::string text;  // the candidate text after normalisation
  bool keyword = false;
  std::vector<RuleTrial> rules;  // the rules tried, in set order
};

struct LinkMatch {
  MatchKind kind = MatchKind::None;
  std::string setLine;  // the rule line exactly as stored; empty for a keyword
  std::string address;  // special rules: the link's resolved address, possibly empty
};

// The rule lines of one set made ready for one command: lowercased, trimmed, prefixes
// taken apart and, for page numbers, "$" put in. Done once per command, not per link.
class PreparedRules {
 public:
  PreparedRules(std::string_view command, const RuleSet& set);
  ~PreparedRules();
  PreparedRules(PreparedRules&&) noexcept;
  PreparedRules& operator=(PreparedRules&&) noexcept;

  bool pageNumber() const { return pageNumber_; }
  const std::string& command() const { return command_; }
  std::string_view keywords() const { return keywords_; }
  const std::string& pageTitle() const { return pageTitle_; }
  // Lines that can match at all: comments, blanks and "[网址=" lines are gone.
  std::size_t size() const;
  // The lines left out, with the reason.
  const std::vector<RuleTrial>& skipped() const { return skipped_; }
  // Some line is a "[代码]" rule, which reads a link's markup.
  bool readsMarkup() const;

  struct Rule;
  struct RuleLine;

 private:
  friend LinkMatch MatchLink(const PreparedRules&, LinkElement&, std::string_view, MatchTrace*);

  std::string command_;
  bool pageNumber_ = false;
  std::string_view keywords_;
  std::string pageTitle_;  // "第" N "页" for page numbers
  std::vector<Rule> rules_;
  std::vector<RuleLine> lines_;  // by the same index
  std::vector<RuleTrial> skipped_;
};

// ReadFailed when the link's text, or its own HTML for a "[代码]" rule, cannot be read:
// the link stage ends there.
// trace, when given, receives what was seen: the explanation of the same decision.
LinkMatch MatchLink(const PreparedRules& rules, LinkElement& link, std::string_view docURL,
                    MatchTrace* trace = nullptr);
LinkMatch MatchLink(std::string_view command, LinkElement& link, const RuleSet& set,
                    std::string_view docURL);

}  // namespace paginor
