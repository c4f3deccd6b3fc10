#include "engine/link_search.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "engine/command.h"
#include "engine/link_address.h"
#include "engine/link_text.h"
#include "engine/replace_all.h"

namespace paginor {
namespace {

constexpr std::string_view kExtendedPrefix = "[扩展]";
constexpr std::string_view kCodePrefix = "[代码]";
constexpr std::string_view kSpecialPrefix = "[特别=";
constexpr std::string_view kTemplatePrefix = "[网址=";
// Stands in for "$$" while "$" becomes the page number.
constexpr std::string_view kDollarPlaceholder = "(*不可能*)";

// The byte pairs a text holds, hashed into 256 bits. A fragment whose pairs are not all
// in a text cannot occur in it; with links × rules searches per command, this spares
// nearly every search that would fail.
class PairFilter {
 public:
  PairFilter() = default;
  explicit PairFilter(std::string_view text) {
    // Four accumulators rather than an indexed array: no chain through memory.
    std::uint64_t w0 = 0, w1 = 0, w2 = 0, w3 = 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
      const auto pair = static_cast<std::uint32_t>(static_cast<unsigned char>(text[i - 1]) << 8 |
                                                   static_cast<unsigned char>(text[i]));
      const std::uint32_t bit = (pair * 0x9E3779B1u) >> 24;
      const std::uint64_t mask = std::uint64_t{1} << (bit & 63);
      const std::uint32_t word = bit >> 6;
      w0 |= word == 0 ? mask : 0;
      w1 |= word == 1 ? mask : 0;
      w2 |= word == 2 ? mask : 0;
      w3 |= word == 3 ? mask : 0;
    }
    words_ = {w0, w1, w2, w3};
  }
  bool MayContain(const PairFilter& fragment) const {
    // Branch-free: nearly every test fails, and a mispredicted early exit costs more.
    return ((fragment.words_[0] & ~words_[0]) | (fragment.words_[1] & ~words_[1]) |
            (fragment.words_[2] & ~words_[2]) | (fragment.words_[3] & ~words_[3])) == 0;
  }

 private:
  std::array<std::uint64_t, 4> words_{};
};

// A text that fragments are searched in, with its filter made on first use.
class Haystack {
 public:
  explicit Haystack(std::string text) : text_(std::move(text)), filter_(text_) {}
  const std::string& text() const { return text_; }
  bool Contains(std::string_view fragment, const PairFilter& filter) const {
    return filter_.MayContain(filter) && fragment.size() <= text_.size() &&
           text_.find(fragment) != std::string::npos;
  }

 private:
  std::string text_;
  PairFilter filter_;
};

}  // namespace

enum class RuleForm { Pattern, Code, Special };

// What every link is tested against, kept small so that a whole set stays in cache.
struct PreparedRules::Rule {
  PairFilter filter;  // of text
  RuleForm form = RuleForm::Pattern;
  bool extended = false;  // "[扩展]": the parent element's text and HTML
  bool contains = false;  // "*" fragment rather than whole-text equality
  std::string text;       // pattern, fragment, or the "[代码]" fragment without quotes
};

// Needed only once a rule has hit.
struct PreparedRules::RuleLine {
  std::size_t index = 0;  // in the set
  std::string line;  // as stored
  std::string site;  // "[特别=": the page address must begin with it
};

namespace {

using Rule = PreparedRules::Rule;

std::string WithoutQuotes(std::string_view text) {
  std::string out(text);
  std::erase_if(out, [](char c) { return c == '"' || c == '\''; });
  return out;
}

using RuleLine = PreparedRules::RuleLine;

struct Parsed {
  Rule rule;
  RuleLine line;
};

void SetPattern(Rule& rule, std::string_view pattern) {
  rule.contains = pattern.starts_with('*');
  if (rule.contains) pattern.remove_prefix(1);
  rule.text = std::string(pattern);
}

std::optional<Parsed> PrepareNamed(Parsed parsed, std::string_view r, RuleVerdict& skipped) {
  if (r.starts_with(kCodePrefix)) {
    parsed.rule.form = RuleForm::Code;
    parsed.rule.text = WithoutQuotes(r.substr(kCodePrefix.size()));
    return parsed;
  }
  if (r.starts_with(kSpecialPrefix)) {
    r.remove_prefix(kSpecialPrefix.size());
    const auto close = r.find(']');
    if (close == std::string_view::npos || close == 0) {
      skipped = RuleVerdict::Malformed;
      return std::nullopt;
    }
    parsed.rule.form = RuleForm::Special;
    parsed.line.site = std::string(r.substr(0, close));
    r.remove_prefix(close + 1);
  }
  SetPattern(parsed.rule, r);
  return parsed;
}

std::optional<Parsed> PreparePageNumber(Parsed parsed, std::string_view r,
                                        std::string_view number, RuleVerdict& skipped) {
  std::string text(r);
  ReplaceAll(text, "$$", kDollarPlaceholder);
  ReplaceAll(text, "$", number);
  ReplaceAll(text, kDollarPlaceholder, "$");
  if (std::string_view(text).starts_with(kTemplatePrefix)) {
    skipped = RuleVerdict::TemplateLine;
    return std::nullopt;
  }
  SetPattern(parsed.rule, text);
  return parsed;
}

// Nothing, with the reason in skipped, for a line no link can hit.
std::optional<Parsed> Prepare(const std::string& line, std::string_view command, bool pageNumber,
                              RuleVerdict& skipped) {
  skipped = RuleVerdict::Blank;
  if (line.empty()) return std::nullopt;
  skipped = RuleVerdict::Comment;
  if (line.front() == '#') return std::nullopt;
  std::string lowered(line);
  LowercaseAscii(lowered);
  std::string_view r = TrimBlanks(lowered);
  skipped = RuleVerdict::Blank;
  if (r.empty()) return std::nullopt;
  Parsed parsed;
  parsed.line.line = line;
  parsed.rule.extended = r.starts_with(kExtendedPrefix);
  if (parsed.rule.extended) r.remove_prefix(kExtendedPrefix.size());
  auto prepared = pageNumber ? PreparePageNumber(std::move(parsed), r, command, skipped)
                             : PrepareNamed(std::move(parsed), r, skipped);
  if (!prepared) return std::nullopt;
  Rule& rule = prepared->rule;
  // A bare "*" can never hit and reads nothing, so it is not kept.
  if (rule.form != RuleForm::Code && rule.contains && rule.text.empty()) {
    skipped = RuleVerdict::NeverHits;
    return std::nullopt;
  }
  rule.filter = PairFilter(rule.text);
  return prepared;
}

bool PatternHit(const Rule& rule, Haystack& cand) {
  if (rule.contains) return cand.Contains(rule.text, rule.filter);
  return cand.text() == rule.text;
}

bool KeywordHit(const PreparedRules& rules, std::string_view cand) {
  if (cand.empty()) return false;
  if (rules.pageNumber()) return cand == rules.command() || cand == rules.pageTitle();
  const std::string_view keywords = rules.keywords();
  for (auto at = keywords.find(cand); at != std::string_view::npos;
       at = keywords.find(cand, at + 1)) {
    const std::size_t end = at + cand.size();
    if (end < keywords.size() && keywords[end] == ' ') return true;
  }
  return false;
}

std::string PreparedHtml(std::string_view html) {
  std::string h = WithoutQuotes(TrimBlanks(html));
  // Quotes removed from the ends may uncover blanks there.
  const std::string_view trimmed = TrimBlanks(h);
  if (trimmed.size() != h.size()) h = std::string(trimmed);
  LowercaseAscii(h);
  return h;
}

// What one link yields beyond its own text, each read at most once and only when a
// rule needs it. Null: the read failed.
class LinkReads {
 public:
  explicit LinkReads(LinkElement& link) : link_(link) {}

  Haystack* ParentText() {
    if (!parentText_) {
      LinkElement* parent = Parent();
      const auto text = parent ? parent->OuterText() : std::nullopt;
      parentText_.emplace(text ? std::optional(Haystack(NormalizeLinkText(*text))) : std::nullopt);
    }
    return *parentText_ ? &**parentText_ : nullptr;
  }
  Haystack* Html() { return ReadHtml(html_, &link_); }
  Haystack* ParentHtml() { return ReadHtml(parentHtml_, Parent()); }

 private:
  using Cached = std::optional<std::optional<Haystack>>;

  LinkElement* Parent() {
    if (!parentRead_) {
      parentRead_ = true;
      parent_ = link_.ParentElement();
    }
    return parent_.get();
  }
  static Haystack* ReadHtml(Cached& cache, LinkElement* element) {
    if (!cache) {
      const auto html = element ? element->OuterHtml() : std::nullopt;
      cache.emplace(html ? std::optional(Haystack(PreparedHtml(*html))) : std::nullopt);
    }
    return *cache ? &**cache : nullptr;
  }

  LinkElement& link_;
  bool parentRead_ = false;
  std::unique_ptr<LinkElement> parent_;
  Cached parentText_;
  Cached html_;
  Cached parentHtml_;
};

LinkMatch Hit(MatchKind kind, const RuleLine& line) { return {kind, line.line, {}}; }

std::string SpecialAddress(LinkElement& link, std::string_view docURL) {
  const auto href = link.Href();
  if (!href || href->empty()) return {};
  return ResolveLinkAddress(*href, docURL);
}

}  // namespace

std::string_view KeywordString(std::string_view command) {
  if (command == "prev") return kPrevKeywords;
  if (command == "next") return kNextKeywords;
  if (command == "first") return kFirstKeywords;
  if (command == "last") return kLastKeywords;
  return {};
}

PreparedRules::PreparedRules(std::string_view command, const RuleSet& set)
    : command_(command),
      pageNumber_(IsPageNumberCommand(command)),
      keywords_(KeywordString(command)) {
  if (pageNumber_) pageTitle_ = "第" + command_ + "页";
  for (std::size_t index = 0; index < set.size(); ++index) {
    RuleVerdict skipped = RuleVerdict::Blank;
    if (auto parsed = Prepare(set[index], command, pageNumber_, skipped)) {
      parsed->line.index = index;
      rules_.push_back(std::move(parsed->rule));
      lines_.push_back(std::move(parsed->line));
    } else {
      skipped_.push_back({index, skipped});
    }
  }
}

PreparedRules::~PreparedRules() = default;
std::size_t PreparedRules::size() const { return rules_.size(); }
bool PreparedRules::readsMarkup() const {
  return std::ranges::any_of(rules_, [](const Rule& rule) { return rule.form == RuleForm::Code; });
}
PreparedRules::PreparedRules(PreparedRules&&) noexcept = default;
PreparedRules& PreparedRules::operator=(PreparedRules&&) noexcept = default;

LinkMatch MatchLink(const PreparedRules& rules, LinkElement& link, std::string_view docURL,
                    MatchTrace* trace) {
  const auto outerText = link.OuterText();
  if (!outerText) return {MatchKind::ReadFailed, {}, {}};
  Haystack text(NormalizeLinkText(*outerText));
  const bool keyword = KeywordHit(rules, text.text());
  if (trace != nullptr) {
    trace->text = text.text();
    trace->keyword = keyword;
  }
  if (keyword) return {MatchKind::Keyword, {}, {}};

  const auto tell = [&](std::size_t i, RuleVerdict verdict) {
    if (trace != nullptr) trace->rules.push_back({rules.lines_[i].index, verdict});
  };
  LinkReads reads(link);
  const std::span<const Rule> list(rules.rules_);
  for (std::size_t i = 0; i < list.size(); ++i) {
    const Rule& rule = list[i];
    Haystack* cand = rule.extended ? reads.ParentText() : &text;
    if (cand == nullptr) {
      tell(i, RuleVerdict::ParentUnreadable);
      continue;
    }
    if (rule.form == RuleForm::Code) {
      Haystack* html = rule.extended ? reads.ParentHtml() : reads.Html();
      if (html == nullptr) {
        tell(i, rule.extended ? RuleVerdict::ParentUnreadable : RuleVerdict::HtmlUnreadable);
        if (rule.extended) continue;
        return {MatchKind::ReadFailed, {}, {}};
      }
      if (!rule.text.empty() && html->Contains(rule.text, rule.filter)) {
        tell(i, RuleVerdict::Hit);
        return Hit(MatchKind::CodeRule, rules.lines_[i]);
      }
      tell(i, RuleVerdict::NoMatch);
      continue;
    }
    const RuleLine& line = rules.lines_[i];
    // Told before the text is compared, so an explanation names the site; the outcome is
    // the same either way.
    if (trace != nullptr && rule.form == RuleForm::Special && !rules.pageNumber() &&
        !docURL.starts_with(line.site)) {
      tell(i, RuleVerdict::WrongSite);
      continue;
    }
    if (!PatternHit(rule, *cand)) {
      tell(i, RuleVerdict::NoMatch);
      continue;
    }
    if (rules.pageNumber()) {
      tell(i, RuleVerdict::Hit);
      return Hit(MatchKind::PageNumberRule, line);
    }
    if (rule.form == RuleForm::Pattern) {
      tell(i, RuleVerdict::Hit);
      return Hit(MatchKind::PlainRule, line);
    }
    // Tested after the text, which rejects nearly every rule more cheaply.
    if (!docURL.starts_with(line.site)) {
      tell(i, RuleVerdict::WrongSite);
      continue;
    }
    tell(i, RuleVerdict::Hit);
    LinkMatch match = Hit(MatchKind::SpecialRule, line);
    match.address = SpecialAddress(link, docURL);
    return match;
  }
  return {};
}

LinkMatch MatchLink(std::string_view command, LinkElement& link, const RuleSet& set,
                    std::string_view docURL) {
  return MatchLink(PreparedRules(command, set), link, docURL);
}

}  // namespace paginor
