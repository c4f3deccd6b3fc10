#include "engine/smart_fallback.h"

#include <algorithm>
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

template <typename Call>
auto Read(Call&& call) noexcept -> decltype(call()) {
  try {
    return call();
  } catch (...) {
    return {};
  }
}

struct LinkInfo {
  std::unique_ptr<LinkElement> element;
  std::string text;  // on one line; an image link's alt or title when it has no text
  PageText page;
  bool scored = false;  // short enough to be read as a page link
  bool block = false;   // in the pagination block
};

// A link some page-turn command would take.
bool IsAnyPageLink(const PageText& text) {
  if (text.forward + text.backward == 0 && text.core.empty()) return false;
  for (const std::string_view command : {"next", "prev", "first", "last"}) {
    if (ScorePageText(text, command).score > 0) return true;
  }
  return false;
}

// A link any page-turn command would take: strong words or arrows, either way.
bool IsPageLink(const PageText& text) {
  if (text.forward + text.backward == 0 && text.core.empty()) return false;
  constexpr int kStrong = 40;
  return ScorePageText(text, "next").score >= kStrong || ScorePageText(text, "prev").score >= kStrong;
}

class Search {
 public:
  Search(std::string_view command, std::string_view docURL, bool explain, SmartDecision& out)
      : command_(command), docURL_(docURL), explain_(explain), out_(out) {}

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

  // Reads every link once: its rel first, then its text for the scoring.
  void ReadLinks(LinkCollection& links, long count) {
    infos_.reserve(static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) {
      LinkInfo info;
      info.element = Read([&] { return links.Item(i); });
      if (!info.element) break;
      LinkElement& link = *info.element;
      if (Named()) {
        RelLink(link, i);
        if (decided_) return;  // nothing else is weighed once rel has named the page
      }
      const std::optional<std::string> text = Read([&] { return link.OuterText(); });
      if (!text) break;
      info.text = OneLine(*text);
      if (info.text.empty()) info.text = OneLine(Read([&] { return link.ImageText(); }).value_or(""));
      info.scored = info.text.size() <= kMaxPageLinkText;
      if (info.scored) info.page = ReadPageText(info.text);
      infos_.push_back(std::move(info));
    }
  }

  bool ScoreLinks() {
    const long n = static_cast<long>(infos_.size());
    // A link is in the pagination block when a page-number link stands beside it, or
    // beyond neighbours that are page links themselves ("« 首页 ‹ 上一页 1 2 3").
    std::vector<signed char> pageLike(infos_.size(), -1);
    const auto isPageLike = [&](long j) {
      auto& known = pageLike[static_cast<std::size_t>(j)];
      if (known < 0) {
        const LinkInfo& other = infos_[static_cast<std::size_t>(j)];
        known = other.scored && (other.page.number || IsAnyPageLink(other.page)) ? 1 : 0;
      }
      return known == 1;
    };
    const auto numberAt = [&](long j) {
      const LinkInfo& other = infos_[static_cast<std::size_t>(j)];
      return other.scored && other.page.number.has_value();
    };
    const auto inBlock = [&](long i) {
      for (const long step : {-1L, 1L}) {
        for (long j = i + step, k = 0; j >= 0 && j < n && k < kBlockReach; j += step, ++k) {
          if (numberAt(j)) return true;
          if (!isPageLike(j)) break;
        }
      }
      return false;
    };
    for (long i = 0; i < n; ++i) {
      const auto& page = infos_[static_cast<std::size_t>(i)].page;
      if (page.number && page.bareNumber && inBlock(i)) highest_ = std::max(highest_, *page.number);
    }
    const long highest = highest_;

    std::vector<SmartCandidate> scored;
    for (long i = 0; i < n; ++i) {
      LinkInfo& info = infos_[static_cast<std::size_t>(i)];
      if (!info.scored) continue;
      TextScore score = ScorePageText(info.page, command_);
      const bool block = inBlock(i);
      info.block = block;
      if (score.score == 0 && block && info.page.bareNumber) {
        if (command_ == "first" && info.page.number == 1) {
          score = {kEndNumberScore, "page 1"};
        } else if (command_ == "last" && info.page.number == highest) {
          score = {kEndNumberScore, "the highest page number"};
        }
      }
      if (score.score == 0) continue;
      if (block) {
        score.score += kBlockBonus;
        score.reason += ", in the pagination block";
      }
      const std::string href = Read([&] { return info.element->Href(); }).value_or("");
      SmartCandidate candidate{SmartCandidate::Source::Words, i, info.text, href, score.score,
                               score.reason, false};
      if (!href.empty() && SamePage(href, docURL_)) {
        candidate.excluded = true;
        candidate.reason += "; leads to this page";
      }
      scored.push_back(std::move(candidate));
    }
    ExcludeRepeated(scored);

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
      return info.scored && ((info.page.number && info.block) || IsPageLink(info.page));
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
    std::vector<std::string> hrefs;
    hrefs.reserve(infos_.size());
    for (const LinkInfo& info : infos_) {
      hrefs.push_back(Read([&] { return info.element->Href(); }).value_or(""));
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
  bool Named() const { return !IsPageNumberCommand(command_); }

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
  void ExcludeRepeated(std::vector<SmartCandidate>& scored) const {
    struct Seen {
      std::string_view address;
      bool repeated = false;
    };
    std::map<std::string_view, Seen> byWords;
    const auto info = [&](const SmartCandidate& c) -> const LinkInfo& {
      return infos_[static_cast<std::size_t>(c.index)];
    };
    for (const SmartCandidate& candidate : scored) {
      const std::string_view address = WithoutFragment(candidate.address);
      const auto [it, fresh] = byWords.try_emplace(info(candidate).page.core, Seen{address});
      if (!fresh && it->second.address != address) it->second.repeated = true;
    }
    for (SmartCandidate& candidate : scored) {
      if (candidate.excluded || info(candidate).block) continue;
      if (!byWords[info(candidate).page.core].repeated) continue;
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
  bool decided_ = false;
  std::vector<LinkInfo> infos_;
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
