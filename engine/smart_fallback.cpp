#include "engine/smart_fallback.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <span>

#include "engine/command.h"
#include "engine/smart_address.h"
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
  const auto tokens = RelTokens(command);
  std::size_t at = 0;
  while (at < rel.size()) {
    while (at < rel.size() && IsBlank(rel[at])) ++at;
    std::size_t end = at;
    while (end < rel.size() && !IsBlank(rel[end])) ++end;
    const std::string_view word = rel.substr(at, end - at);
    for (const std::string_view token : tokens) {
      const bool same = std::equal(word.begin(), word.end(), token.begin(), token.end(),
                                   [](char a, char b) { return (a | 0x20) == b; });
      if (same) return token;
    }
    at = end;
  }
  return {};
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
                               "<link rel> names the page", false};
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
    const long n = static_cast<long>(infos_.size());
    const auto at = [&](long j) -> LinkInfo& { return infos_[static_cast<std::size_t>(j)]; };
    // A link is in the pagination block when a page-number link stands beside it, or
    // beyond neighbours that are page links themselves ("« 首页 ‹ 上一页 1 2 3").
    const auto inBlock = [&](long i) {
      for (const long step : {-1L, 1L}) {
        for (long j = i + step, k = 0; j >= 0 && j < n && k < kBlockReach; j += step, ++k) {
          if (at(j).number) return true;
          if (!at(j).pageLike) break;
        }
      }
      return false;
    };
    for (long i = 0; i < n; ++i) {
      LinkInfo& info = at(i);
      if (!info.number) continue;
      info.block = inBlock(i);
      if (info.bareNumber && info.block) highest_ = std::max(highest_, *info.number);
    }
    // The ends of the pagination, when no word names them.
    for (long i = 0; i < n && (command_ == "first" || command_ == "last"); ++i) {
      const LinkInfo& info = at(i);
      if (!info.bareNumber || !info.block) continue;
      if (command_ == "first" && info.number == 1) {
        scored_.push_back({i, {kEndNumberScore, "page 1"}, "1"});
      } else if (command_ == "last" && info.number == highest_) {
        scored_.push_back({i, {kEndNumberScore, "the highest page number"}, std::to_string(highest_)});
      }
    }

    std::vector<SmartCandidate> scored;
    std::vector<std::string> cores;
    for (Scored& s : scored_) {
      LinkInfo& info = at(s.index);
      if (!info.number) info.block = inBlock(s.index);
      if (info.block) {
        s.score.score += kBlockBonus;
        s.score.reason += ", in the pagination block";
      }
      const std::unique_ptr<LinkElement> element = Read([&] { return links_->Item(s.index); });
      if (!element) continue;
      const std::string href = Read([&] { return element->Href(); }).value_or("");
      SmartCandidate candidate{SmartCandidate::Source::Words, s.index, DisplayText(*element), href,
                               s.score.score, std::move(s.score.reason), false};
      if (!href.empty() && SamePage(href, docURL_)) {
        candidate.excluded = true;
        candidate.reason += "; leads to this page";
      }
      scored.push_back(std::move(candidate));
      cores.push_back(std::move(s.core));
    }
    // Candidates in document order, as the ties want them.
    std::vector<std::size_t> order(scored.size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return scored[a].index < scored[b].index; });
    std::vector<SmartCandidate> sorted;
    std::vector<std::string> sortedCores;
    for (const std::size_t k : order) {
      sorted.push_back(std::move(scored[k]));
      sortedCores.push_back(std::move(cores[k]));
    }
    scored = std::move(sorted);
    cores = std::move(sortedCores);
    ExcludeRepeated(scored, cores);

    const SmartCandidate* best = nullptr;
    for (const SmartCandidate& candidate : scored) {
      // Pagination usually follows the content, so a tie goes to the later link.
      if (!candidate.excluded && (best == nullptr || candidate.score >= best->score)) best = &candidate;
    }
    if (best != nullptr) {
      Choose(SmartDecision::Action::ClickLink, best->index, best->address,
             "    智能翻页,链接文字: " + best->text);
    }
    if (explain_) {
      for (SmartCandidate& candidate : scored) out_.candidates.push_back(std::move(candidate));
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
                                 turn.address.empty() ? 0 : 1, turn.reason, false});
    }
    if (turn.address.empty() || SamePage(turn.address, docURL_)) return;
    Choose(SmartDecision::Action::Navigate, -1, turn.address,
           "    智能翻页,网址页码: " + turn.address);
  }

  void NoAddress(std::string why) {
    if (explain_) out_.candidates.push_back({SmartCandidate::Source::Address, -1, "", "", 0, std::move(why), false});
  }

  bool decided() const { return decided_; }
  bool Named() const { return named_; }

 private:
  void RelLink(LinkElement& link, long i) {
    const std::string rel = Read([&] { return link.Attribute("rel"); }).value_or("");
    if (rel.empty()) return;
    const std::string_view token = RelToken(rel, command_);
    if (token.empty()) return;
    const std::string href = Read([&] { return link.Href(); }).value_or("");
    const std::string text = OneLine(Read([&] { return link.OuterText(); }).value_or(""));
    if (!href.empty() && SamePage(href, docURL_)) {
      Note({SmartCandidate::Source::RelLink, i, text, href, 0, "rel=" + rel + "; leads to this page",
            true});
      return;
    }
    Note({SmartCandidate::Source::RelLink, i, text, href, 0, "rel=" + rel, false});
    Choose(SmartDecision::Action::ClickLink, i, href,
           "    智能翻页,rel=" + std::string(token) + ": " + (href.empty() ? text : href));
  }

  // The same words on links to different pages ("Continue reading" under every post,
  // "More" in every box) belong to the items, not to the pagination: only those inside
  // the pagination block stay.
  void ExcludeRepeated(std::vector<SmartCandidate>& scored, const std::vector<std::string>& cores) const {
    struct Seen {
      std::string_view address;
      bool repeated = false;
    };
    std::map<std::string_view, Seen> byWords;
    for (std::size_t k = 0; k < scored.size(); ++k) {
      const std::string_view address = WithoutFragment(scored[k].address);
      const auto [it, fresh] = byWords.try_emplace(cores[k], Seen{address});
      if (!fresh && it->second.address != address) it->second.repeated = true;
    }
    for (std::size_t k = 0; k < scored.size(); ++k) {
      SmartCandidate& candidate = scored[k];
      if (candidate.excluded || infos_[static_cast<std::size_t>(candidate.index)].block) continue;
      if (!byWords[cores[k]].repeated) continue;
      candidate.excluded = true;
      candidate.reason += "; the same words lead to other pages too";
    }
  }

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
