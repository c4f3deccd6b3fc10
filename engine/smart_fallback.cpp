#include "engine/smart_fallback.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>

#include "engine/command.h"
#include "engine/smart_address.h"
#include "engine/smart_pager.h"
#include "engine/smart_words.h"

namespace paginor {
namespace {

// A page link's text is short; a longer one is a title or a sentence, not worth reading
// word by word on a page of thousands of links.
constexpr std::size_t kMaxPageLinkText = 96;
// How far a pagination block is followed over page links that are not numbers.
constexpr long kBlockReach = 3;
constexpr int kBlockBonus = 30;
constexpr int kEndNumberScore = 30;

constexpr std::string_view kNextRel[] = {"next"};
constexpr std::string_view kPrevRel[] = {"prev", "previous"};
constexpr std::string_view kFirstRel[] = {"first", "start"};
constexpr std::string_view kLastRel[] = {"last"};

constexpr std::string_view kPagerCommands[] = {"next", "prev", "first", "last"};

std::span<const std::string_view> RelTokens(std::string_view command) {
  if (command == "next") return kNextRel;
  if (command == "prev") return kPrevRel;
  if (command == "first") return kFirstRel;
  if (command == "last") return kLastRel;
  return {};
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// The page a page-number command asks for; commands are at most five digits.
long PageNumber(std::string_view command) {
  long value = 0;
  for (const char c : command.substr(0, 9)) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value;
}

// The token of rel that names the command, case-insensitive; empty when none does.
std::string_view RelToken(std::string_view rel, std::string_view command) {
  return MatchingToken(rel, RelTokens(command));
}

bool IsPagerRel(std::string_view rel) {
  return std::any_of(std::begin(kPagerCommands), std::end(kPagerCommands),
                     [&](std::string_view command) { return !RelToken(rel, command).empty(); });
}

std::string_view WithoutFragment(std::string_view url) { return url.substr(0, url.find('#')); }

bool SamePage(std::string_view href, std::string_view docURL) {
  return WithoutFragment(href) == WithoutFragment(docURL);
}

std::string OneLine(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (!IsBlank(c)) {
      out += c;
    } else if (!out.empty() && out.back() != ' ') {
      out += ' ';
    }
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// The link's text on one line; an image link's alt or title when it has none.
std::string DisplayText(LinkElement& link);

template <typename Call>
auto Read(Call&& call) noexcept -> decltype(call()) {
  try {
    return call();
  } catch (...) {
    return {};
  }
}

// What is kept of each link: thousands of them, so no element and no text, which are
// read again for the few that score.
struct LinkInfo {
  std::optional<long> number;  // a page-number link
  bool bareNumber = false;
  bool pageLike = false;  // some page-turn command would take it
  bool pageLink = false;  // it leads to the next or the previous page
  bool block = false;     // in the pagination block
};

// Page-number links next to each other, first and last by index.
struct Run {
  long first = 0;
  long last = 0;
};

// A candidate with what decides between equal scores.
struct Weighed {
  SmartCandidate candidate;
  std::string core;
  bool inBlock = false;
  bool continues = false;  // its address continues the page's
};

// Inside the block beats outside, then the score, then the address.
bool Beats(const Weighed& a, const Weighed& b) {
  if (a.inBlock != b.inBlock) return a.inBlock;
  if (a.candidate.score != b.candidate.score) return a.candidate.score > b.candidate.score;
  return a.continues && !b.continues;
}

// A link that scored for the command.
struct Scored {
  long index = 0;
  TextScore score;
  std::string core;
};

const PageTextScorer& ScorerFor(int which) {
  static const PageTextScorer kScorers[] = {PageTextScorer("next"), PageTextScorer("prev"),
                                            PageTextScorer("first"), PageTextScorer("last")};
  return kScorers[which];
}

// What the link is to page-turning in general: the pagination block and the address
// rule ask, whatever the command.
// scores: by ScorerFor's order.
void Weigh(const PageText& text, LinkInfo& info, std::array<int, 4>& scores) {
  scores = {};
  info.pageLike = info.number.has_value();
  if (!MayNamePage(text)) return;
  constexpr int kStrong = 40;
  for (int which = 0; which < 4; ++which) scores[which] = ScorerFor(which).Score(text).score;
  info.pageLike = info.pageLike || scores[0] > 0 || scores[1] > 0 || scores[2] > 0 || scores[3] > 0;
  info.pageLink = scores[0] >= kStrong || scores[1] >= kStrong;
}

// The position of a named command among ScorerFor's; -1 for page numbers.
int ScorerIndex(std::string_view command) {
  if (command == "next") return 0;
  if (command == "prev") return 1;
  if (command == "first") return 2;
  if (command == "last") return 3;
  return -1;
}

std::string DisplayText(LinkElement& link) {
  std::string text = OneLine(Read([&] { return link.OuterText(); }).value_or(""));
  if (text.empty()) text = OneLine(Read([&] { return link.ImageText(); }).value_or(""));
  return text;
}

class Search {
 public:
  Search(std::string_view command, std::string_view docURL, bool explain, SmartDecision& out)
      : command_(command),
        docURL_(docURL),
        explain_(explain),
        out_(out),
        named_(!IsPageNumberCommand(command)),
        own_(ScorerIndex(command)) {}

  bool RelLinkTags(Document& document) {
    std::unique_ptr<LinkCollection> tags = Read([&] { return document.LinkTags(); });
    if (!tags) return false;
    const long count = Read([&] { return tags->Length(); }).value_or(0);
    for (long i = 0; i < count; ++i) {
      const std::unique_ptr<LinkElement> tag = Read([&] { return tags->Item(i); });
      if (!tag) break;
      const std::string rel = Read([&] { return tag->Attribute("rel"); }).value_or("");
      const std::string_view token = RelToken(rel, command_);
      if (token.empty()) continue;
      const std::string href = Read([&] { return tag->Href(); }).value_or("");
      SmartCandidate candidate{SmartCandidate::Source::RelLinkTag, i, "rel=" + rel, href, 0,
                               "<link rel> names the page", false, {}, {}};
      if (href.empty() || SamePage(href, docURL_)) {
        candidate.excluded = true;
        candidate.reason = href.empty() ? "<link rel> without an address" : "leads to this page";
        Note(std::move(candidate));
        continue;
      }
      Note(candidate);
      Choose(SmartDecision::Action::Navigate, -1, href,
             "    智能翻页,rel=" + std::string(token) + ": " + href);
      return true;
    }
    return false;
  }

  // Reads every link once: its rel first, then its text, weighed at once.
  void ReadLinks(LinkCollection& links, long count) {
    links_ = &links;
    infos_.reserve(static_cast<std::size_t>(count));
    const PageTextScorer scorer(command_);
    PageText text;  // reused: its buffer outlives the links
    std::array<int, 4> scores{};
    for (long i = 0; i < count; ++i) {
      const std::unique_ptr<LinkElement> element = Read([&] { return links.Item(i); });
      if (!element) break;
      LinkElement& link = *element;
      if (named_) {
        RelLink(link, i);
        if (decided_) return;  // nothing else is weighed once rel has named the page
      }
      const std::optional<std::string> outer = Read([&] { return link.OuterText(); });
      if (!outer) break;
      LinkInfo& info = infos_.emplace_back();
      std::optional<std::string> image;
      if (std::all_of(outer->begin(), outer->end(), IsBlank)) image = Read([&] { return link.ImageText(); });
      const std::string_view own = image ? *image : *outer;
      if (own.size() > kMaxPageLinkText || !ReadPageTextIfItMatters(own, text)) continue;
      info.number = text.number;
      info.bareNumber = text.bareNumber;
      Weigh(text, info, scores);
      // The command's own score is among those already taken; its reason is written only
      // for the few links that have one.
      if (own_ >= 0 && scores[static_cast<std::size_t>(own_)] == 0) continue;
      TextScore score = scorer.Score(text);
      if (score.score > 0) scored_.push_back({i, std::move(score), text.core});
    }
  }

  bool ScoreLinks() {
    MarkBlocks();
    FindPagers();
    if (command_ == "next" || command_ == "prev" || command_ == "last") FindCurrentPage();
    AddNumbers();
    std::vector<Weighed> weighed = Candidates();
    ExcludeRepeated(weighed);

    const Weighed* best = nullptr;
    for (const Weighed& w : weighed) {
      // In document order: a tie to the end goes to the first.
      if (!w.candidate.excluded && (best == nullptr || Beats(w, *best))) best = &w;
    }
    if (best != nullptr) {
      Choose(SmartDecision::Action::ClickLink, best->candidate.index, best->candidate.address,
             "    智能翻页,链接文字: " + best->candidate.text);
    }
    if (explain_) {
      for (Weighed& w : weighed) out_.candidates.push_back(std::move(w.candidate));
    }
    return best != nullptr;
  }

  void Address() {
    // A page with its own page links would show a next one if it existed: past the last
    // page an address counted up leads nowhere. Earlier pages always exist.
    const bool pageLinks = std::any_of(infos_.begin(), infos_.end(), [](const LinkInfo& info) {
      return (info.number && info.block) || info.pageLink;
    });
    if (command_ == "next" && pageLinks) {
      NoAddress("the page has page links of its own, none to a next page");
      return;
    }
    // Likewise a page number beyond the pagination, which shows the last page or the
    // page before it when the last is the current one.
    if (!Named() && highest_ > 0 && PageNumber(command_) > highest_ + 1) {
      NoAddress("the pagination ends at page " + std::to_string(highest_ + 1) + " at most");
      return;
    }
    // The links' addresses tell the step of an offset and whether the first page carries
    // a number; counting a page number up or down needs neither.
    const std::optional<AddressPage> number = FindAddressPage(docURL_);
    const bool needLinks = number && (number->style == AddressPage::Style::Offset ||
                                      command_ != "next");
    std::vector<std::string> hrefs;
    hrefs.reserve(needLinks ? infos_.size() : 0);
    for (std::size_t i = 0; needLinks && i < infos_.size(); ++i) {
      const std::unique_ptr<LinkElement> element =
          Read([&] { return links_->Item(static_cast<long>(i)); });
      hrefs.push_back(element ? Read([&] { return element->Href(); }).value_or("") : std::string());
    }
    const AddressTurn turn = TurnAddress(docURL_, command_, hrefs);
    if (explain_) {
      out_.candidates.push_back({SmartCandidate::Source::Address, -1, "", turn.address,
                                 turn.address.empty() ? 0 : 1, turn.reason, false, {}, {}});
    }
    if (turn.address.empty() || SamePage(turn.address, docURL_)) return;
    Choose(SmartDecision::Action::Navigate, -1, turn.address,
           "    智能翻页,网址页码: " + turn.address);
  }

  void NoAddress(std::string why) {
    if (explain_) out_.candidates.push_back({SmartCandidate::Source::Address, -1, "", "", 0, std::move(why), false, {}, {}});
  }

  bool decided() const { return decided_; }
  bool Named() const { return named_; }

 private:
  void RelLink(LinkElement& link, long i) {
    const std::string rel = Read([&] { return link.Attribute("rel"); }).value_or("");
    if (rel.empty()) return;
    if (IsPagerRel(rel)) relLinks_.push_back(i);
    const std::string_view token = RelToken(rel, command_);
    if (token.empty()) return;
    const std::string href = Read([&] { return link.Href(); }).value_or("");
    const std::string text = OneLine(Read([&] { return link.OuterText(); }).value_or(""));
    if (!href.empty() && SamePage(href, docURL_)) {
      Note({SmartCandidate::Source::RelLink, i, text, href, 0, "rel=" + rel + "; leads to this page",
            true, {}, {}});
      return;
    }
    Note({SmartCandidate::Source::RelLink, i, text, href, 0, "rel=" + rel, false, {}, {}});
    Choose(SmartDecision::Action::ClickLink, i, href,
           "    智能翻页,rel=" + std::string(token) + ": " + (href.empty() ? text : href));
  }

  // The same words on links to different pages ("Continue reading" under every post,
  // "More" in every box) belong to the items, not to the pagination: only those inside
  // the pagination block, or leading where the page's address goes on, stay.
  void ExcludeRepeated(std::vector<Weighed>& weighed) const {
    struct Seen {
      std::string_view address;
      bool repeated = false;
    };
    std::map<std::string_view, Seen> byWords;
    for (const Weighed& w : weighed) {
      const std::string_view address = WithoutFragment(w.candidate.address);
      const auto [it, fresh] = byWords.try_emplace(w.core, Seen{address});
      if (!fresh && it->second.address != address) it->second.repeated = true;
    }
    for (Weighed& w : weighed) {
      if (w.candidate.excluded || w.inBlock || w.continues || !byWords[w.core].repeated) continue;
      w.candidate.excluded = true;
      w.candidate.reason += "; the same words lead to other pages too";
    }
  }

  // A link is in the pagination block when a page-number link stands beside it, or
  // beyond neighbours that are page links themselves ("« 首页 ‹ 上一页 1 2 3"): what
  // the order of the links tells, and all there is when the structure cannot be read.
  bool NextToNumbers(long i) const {
    const long n = static_cast<long>(infos_.size());
    for (const long step : {-1L, 1L}) {
      for (long j = i + step, k = 0; j >= 0 && j < n && k < kBlockReach; j += step, ++k) {
        if (At(j).number) return true;
        if (!At(j).pageLike) break;
      }
    }
    return false;
  }

  // Page-number links beside each other, and the runs they form: a pager at the top
  // and another at the bottom are two.
  void MarkBlocks() {
    for (long i = 0; i < static_cast<long>(infos_.size()); ++i) {
      LinkInfo& info = At(i);
      if (!info.number || !(info.block = NextToNumbers(i))) continue;
      const bool joined = !runs_.empty() && std::all_of(&At(runs_.back().last), &At(i), [](const LinkInfo& between) {
        return between.pageLike;
      });
      if (joined) {
        runs_.back().last = i;
      } else {
        runs_.push_back({i, i});
      }
    }
  }

  // The element holding each run, else the one holding the rel links. Where the
  // structure answers it alone says what is in the block: a run it finds no element
  // for is no pager.
  void FindPagers() {
    std::vector<Run> spans = runs_;
    if (spans.empty() && !relLinks_.empty()) spans.push_back({relLinks_.front(), relLinks_.back()});
    std::vector<bool> found;
    for (const Run& span : spans) {
      const std::unique_ptr<LinkElement> first = Item(span.first);
      const std::unique_ptr<LinkElement> last = span.last == span.first ? nullptr : Item(span.last);
      std::optional<PagerBlock> block;
      if (first && (last || span.last == span.first)) block = FindPagerBlock(*first, last ? *last : *first);
      found.push_back(block.has_value());
      if (block) pagers_.push_back(std::move(*block));
    }
    for (std::size_t r = 0; r < runs_.size() && !pagers_.empty(); ++r) {
      for (long i = runs_[r].first; !found[r] && i <= runs_[r].last; ++i) At(i).block = false;
    }
    for (const LinkInfo& info : infos_) {
      if (info.bareNumber && info.block) highest_ = std::max(highest_, *info.number);
    }
  }

  // The page the pager shows as current: the one link that says so, else the number
  // its text shows without a link, else the address's page when the pager links beside
  // it. Templates that mark every number alike ("#" for every href, aria-current on
  // each) mark none.
  void FindCurrentPage() {
    std::set<long> linked;
    std::map<long, std::string> marked;
    for (long i = 0; i < static_cast<long>(infos_.size()); ++i) {
      const LinkInfo& info = At(i);
      if (!info.number || !info.block) continue;
      const std::unique_ptr<LinkElement> element = Item(i);
      if (!element) continue;
      linked.insert(*info.number);
      const std::string href = HrefOf(*element);
      numberHrefs_.push_back(href);
      std::string mark = CurrentMark(*element);
      if (mark.empty() && !href.empty() && SamePage(href, docURL_)) mark = "its address, this page's";
      if (!mark.empty()) marked.emplace(*info.number, "marked by " + mark);
    }
    if (marked.size() == 1) SetCurrent(marked.begin()->first, marked.begin()->second);
    for (std::size_t p = 0; p < pagers_.size() && !current_; ++p) {
      if (const auto number = UnlinkedNumber(pagers_[p].text, linked)) SetCurrent(*number, "shown unlinked in the pager");
    }
    const std::optional<long> address = current_ ? std::nullopt : AddressSteps(docURL_, numberHrefs_).CurrentPage();
    if (address && !linked.contains(*address) && (linked.contains(*address - 1) || linked.contains(*address + 1))) {
      SetCurrent(*address, "as the address tells");
    }
  }

  void SetCurrent(long number, const std::string& how) {
    current_ = number;
    currentHow_ = "current page " + std::to_string(number) + " (" + how + ")";
  }

  // The ends of the pagination and the pages beside the current one, for pagers
  // without words.
  void AddNumbers() {
    const bool onLast = current_ && *current_ > highest_;
    for (long i = 0; i < static_cast<long>(infos_.size()); ++i) {
      const LinkInfo& info = At(i);
      if (!info.number || !info.block) continue;
      const long number = *info.number;
      if (command_ == "first" && info.bareNumber && number == 1) {
        AddNumber(i, "page 1", number);
      } else if (command_ == "last" && info.bareNumber && number == highest_ && !onLast) {
        AddNumber(i, "the highest page number", number);
      } else if (current_ && command_ == "next" && number == *current_ + 1) {
        AddNumber(i, "the page after the " + currentHow_, number);
      } else if (current_ && command_ == "prev" && number == *current_ - 1) {
        AddNumber(i, "the page before the " + currentHow_, number);
      }
    }
  }

  // Built member by member: MinGW's GCC 12 at -O3 takes the braced temporaries for
  // uninitialised strings.
  void AddNumber(long index, std::string reason, long number) {
    Scored scored;
    scored.index = index;
    scored.score.score = kEndNumberScore;
    scored.score.reason = std::move(reason);
    scored.core = std::to_string(number);
    scored_.push_back(std::move(scored));
  }

  bool InPager(LinkElement& element, long index) {
    if (!pagers_.empty()) {
      return std::any_of(pagers_.begin(), pagers_.end(),
                         [&](const PagerBlock& pager) { return StandsIn(element, pager); });
    }
    LinkInfo& info = At(index);
    if (!info.number) info.block = NextToNumbers(index);
    return info.block;
  }

  // The scored links read again, in document order, with where they stand and where
  // they lead.
  std::vector<Weighed> Candidates() {
    const bool anyBlock = !pagers_.empty() || std::any_of(infos_.begin(), infos_.end(), [](const LinkInfo& info) {
      return info.number && info.block;
    });
    std::vector<Weighed> weighed;
    std::vector<std::string> hrefs = numberHrefs_;
    for (Scored& s : scored_) {
      const std::unique_ptr<LinkElement> element = Item(s.index);
      if (!element) continue;
      const std::string href = HrefOf(*element);
      Weighed& w = weighed.emplace_back();
      w.candidate = {SmartCandidate::Source::Words, s.index, DisplayText(*element), href,
                     s.score.score, std::move(s.score.reason), false, {}, {}};
      w.core = std::move(s.core);
      w.inBlock = InPager(*element, s.index);
      if (w.inBlock) {
        w.candidate.score += kBlockBonus;
        const std::string tag = pagers_.empty() ? "beside page-number links" : FoundIn(*element);
        w.candidate.block = "in the pagination block " + tag + " (+" + std::to_string(kBlockBonus) + ")";
      } else {
        w.candidate.block = anyBlock ? "outside the pagination block" : "no pagination block on the page";
      }
      if (!href.empty() && SamePage(href, docURL_)) {
        w.candidate.excluded = true;
        w.candidate.reason += "; leads to this page";
      }
      hrefs.push_back(href);
    }
    std::stable_sort(weighed.begin(), weighed.end(),
                     [](const Weighed& a, const Weighed& b) { return a.candidate.index < b.candidate.index; });
    const AddressSteps steps(docURL_, hrefs);
    for (Weighed& w : weighed) Continuity(steps, w);
    return weighed;
  }

  std::string FoundIn(LinkElement& element) const {
    for (const PagerBlock& pager : pagers_) {
      if (StandsIn(element, pager)) return pager.tag;
    }
    return {};
  }

  // next and prev want the page one step away; the others any page of the same list.
  void Continuity(const AddressSteps& steps, Weighed& w) const {
    const std::optional<long> away = steps.To(w.candidate.address);
    if (!away) {
      w.candidate.continuity = "not this list's address";
      return;
    }
    const long wanted = command_ == "next" ? 1 : command_ == "prev" ? -1 : 0;
    w.continues = wanted == 0 || *away == wanted;
    const long pages = *away < 0 ? -*away : *away;
    const std::string how = *away == 0 ? "this page"
                            : std::to_string(pages) + (pages == 1 ? " page " : " pages ") + (*away > 0 ? "on" : "back");
    w.candidate.continuity = (w.continues && wanted != 0 ? "continues this address, " : "this list's address, ") + how;
  }

  std::unique_ptr<LinkElement> Item(long i) { return Read([&] { return links_->Item(i); }); }
  static std::string HrefOf(LinkElement& element) { return Read([&] { return element.Href(); }).value_or(""); }
  LinkInfo& At(long i) { return infos_[static_cast<std::size_t>(i)]; }
  const LinkInfo& At(long i) const { return infos_[static_cast<std::size_t>(i)]; }

  void Note(SmartCandidate candidate) {
    if (explain_) out_.candidates.push_back(std::move(candidate));
  }

  void Choose(SmartDecision::Action action, long index, std::string address, std::string log) {
    decided_ = true;
    out_.action = action;
    out_.linkIndex = index;
    out_.address = std::move(address);
    out_.logLine = std::move(log);
  }

  std::string_view command_;
  std::string_view docURL_;
  bool explain_;
  SmartDecision& out_;
  bool named_;  // not a page number
  int own_;     // the command's scorer among ScorerFor's
  bool decided_ = false;
  LinkCollection* links_ = nullptr;
  std::vector<LinkInfo> infos_;
  std::vector<Scored> scored_;
  std::vector<long> relLinks_;  // links whose rel names a page of the pagination
  std::vector<Run> runs_;
  std::vector<PagerBlock> pagers_;  // the elements holding the runs; empty: structure unknown
  std::vector<std::string> numberHrefs_;
  std::optional<long> current_;
  std::string currentHow_;
  long highest_ = 0;  // the highest page number of the pagination block
};

}  // namespace

bool IsSmartCommand(std::string_view command) {
  return command == "prev" || command == "next" || command == "first" || command == "last" ||
         IsPageNumberCommand(command);
}

SmartDecision DecideSmart(std::string_view command, Document& document, LinkCollection* links,
                          long count, std::string_view docURL, bool explain) {
  SmartDecision decision;
  if (!IsSmartCommand(command)) return decision;
  Search search(command, docURL, explain, decision);
  if (search.Named() && search.RelLinkTags(document)) return decision;
  if (links != nullptr && count > 0) {
    // rel links are looked for in the same pass that reads the texts; page numbers
    // have no rel.
    search.ReadLinks(*links, count);
    if (search.decided()) return decision;
    if (search.ScoreLinks()) return decision;
  }
  search.Address();
  if (explain && decision.action == SmartDecision::Action::None) {
    decision.notes.emplace_back("nothing found");
  }
  return decision;
}

}  // namespace paginor
