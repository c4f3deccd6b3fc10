#include "engine/executor.h"

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>

#include "engine/explanation.h"
#include "engine/fixed_position.h"
#include "engine/link_search.h"
#include "engine/smart_fallback.h"
#include "engine/url_template.h"

namespace paginor {
namespace {

// No real page holds this many links; a collection that reports more is walked no
// further, so a broken count cannot keep the user-interface thread busy.
constexpr long kMaxLinksWalked = 100000;

const RuleSet kNoRules;

// One call into the browser, which lives in another process and whose wrappers may
// throw: an exception counts as that call's failure (false, empty, null).
template <typename Call>
auto Guarded(Call&& call) noexcept -> decltype(call()) {
  try {
    return call();
  } catch (...) {
    return {};
  }
}

LinkMatch MatchGuarded(const PreparedRules& rules, LinkElement& link, std::string_view docURL,
                       MatchTrace* trace) noexcept {
  try {
    return MatchLink(rules, link, docURL, trace);
  } catch (...) {
    return LinkMatch{MatchKind::ReadFailed, {}, {}};
  }
}

// Hands the stages of the other parts a log whose failures cannot end the command.
class SwallowingLog : public OperationLog {
 public:
  explicit SwallowingLog(OperationLog& log) : log_(log) {}
  void Append(std::string_view line) override {
    try {
      log_.Append(line);
    } catch (...) {
    }
  }

 private:
  OperationLog& log_;
};

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// A keyword match has no rule line of its own, so its log line names the link by
// the text the user sees on the page, on one line: control characters become
// blanks, runs of blanks one blank, and blanks at both ends go.
std::string LinkTextForLog(LinkElement& link) {
  const std::string text = Guarded([&] { return link.OuterText(); }).value_or("");
  std::string out;
  for (const char c : text) {
    if (!IsBlankOrControl(c)) {
      out += c;
    } else if (!out.empty() && out.back() != ' ') {
      out += ' ';
    }
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace

struct CommandExecutor::Page {
  std::unique_ptr<Document> document;  // kept alive while its links are read
  std::unique_ptr<LinkCollection> links;
  long count = 0;
  std::string url;
};

CommandExecutor::CommandExecutor(BrowserDiscovery& discovery, WindowMessenger& messenger,
                                 OperationLog& log)
    : discovery_(discovery), messenger_(messenger), log_(log) {}

void CommandExecutor::ReceiveCommand(std::string_view command, Origin origin,
                                     const ExecutorInputs& inputs) {
  try {
    Log({"接收到指令: ", DisplayName(command)});
  } catch (...) {
  }
  ExecuteCommand(command, origin, inputs);
}

void CommandExecutor::ExecuteCommand(std::string_view command, Origin origin,
                                     const ExecutorInputs& inputs) {
  try {
    Execute(command, origin, inputs);
  } catch (...) {
    // Every browser call is guarded where it is made; this catches what is left
    // (memory exhaustion), which must not unwind into the window procedure.
  }
}

void CommandExecutor::Execute(std::string_view command, Origin origin, const ExecutorInputs& inputs) {
  if (trace_ != nullptr) {
    trace_->command = std::string(command);
    trace_->origin = origin;
    trace_->smartEnabled = inputs.smartFallback;
  }
  if (!Discover(inputs)) return;
  const BrowserPtr acting = ActingBrowser(inputs);
  // Discovery may succeed with an empty browser object: it then fails every call.
  curURL_ = acting ? Guarded([&] { return acting->LocationUrl(); }).value_or("") : std::string();
  Note({"browser address: ", curURL_.empty() ? std::string_view("unreadable") : curURL_});

  const auto& disable = origin == Origin::Keyboard ? inputs.keyboardDisable : inputs.mouseDisable;
  const char* listName = origin == Origin::Keyboard ? "keyboard" : "mouse";
  if (IsDisabledUrl(curURL_, disable)) {
    Note({"the address begins with a line of the ", listName, " disable list: the command stops"});
    Log({"    指令不执行，对应禁用网址: ", curURL_});
    return;
  }
  Note({"no line of the ", listName, " disable list matches"});
  if (!acting) {
    Note({"the tab has no browser object: the command stops"});
    return;
  }
  if (command == "back") {
    Note({"back goes through the browser's history"});
    Guarded([&] { return acting->GoBack(); });
    return;
  }
  if (command == "forward") {
    Note({"forward goes through the browser's history"});
    Guarded([&] { return acting->GoForward(); });
    return;
  }

  // A page without links reaches the smart stage, and only it: nothing else changes.
  const bool smart = inputs.smartFallback && IsSmartCommand(command);
  std::optional<Page> page = OpenPage(*acting, smart);
  if (!page) return;
  if (page->count == 0) {
    Note({"the page has no links: only the smart stage runs"});
    RunSmartStage(command, *acting, *page);
    return;
  }
  SetIndex setIndex = SetIndex::Page;
  SetForCommand(command, setIndex);
  const RuleSet& set = inputs.activeSets ? (*inputs.activeSets)[setIndex] : kNoRules;
  if (trace_ != nullptr) {
    constexpr std::string_view kSetNames[] = {"上页", "下页", "首页", "末页", "某页"};
    trace_->setName = std::string(kSetNames[static_cast<int>(setIndex)]);
  }
  if (RunLinkStage(command, set, *acting, *page)) return;
  RunFallbackStages(command, inputs, set, *acting, *page);
}

bool CommandExecutor::Discover(const ExecutorInputs& inputs) {
  const std::string_view kind = BrowserKindForChoice(inputs.browserChoice);
  // Discovery writes into locals so that a failed one, however it fails, leaves the
  // last tab as it was.
  BrowserPtr browser;
  WindowHandle window = 0;
  const bool found =
      !kind.empty() && Guarded([&] { return discovery_.FindBrowserWindow(browser, window, kind); });
  if (!found) {
    Note({"no browser tab of the kind \"", kind, "\" was found: the command stops"});
    Log({"没有发现目标浏览器:", kind});
    return false;
  }
  if (trace_ != nullptr) {
    constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (WindowHandle w = window; hex.empty() || w != 0; w >>= 4) hex.insert(hex.begin(), kHex[w & 15]);
    Note({"browser: a tab of the kind \"", kind, "\", window 0x", hex});
  }
  curBrowser_ = std::move(browser);
  curBrowserWnd_ = window;
  return true;
}

BrowserPtr CommandExecutor::ActingBrowser(const ExecutorInputs& inputs) {
  if (inputs.framesOption && curBrowser_) {
    BrowserPtr frame =
        Guarded([&] { return discovery_.GetFrameBrowser(inputs.frameIndex, curBrowser_); });
    if (frame) {
      Note({"frame ", std::to_string(inputs.frameIndex), " of the page is used"});
      return frame;
    }
    Note({"frame ", std::to_string(inputs.frameIndex), " cannot be had: the tab's page is used"});
  }
  return curBrowser_;
}

std::optional<CommandExecutor::Page> CommandExecutor::OpenPage(Browser& acting, bool allowEmpty) {
  Page page;
  const auto stop = [&](const char* why) -> std::optional<Page> {
    Note({why, ": the command stops"});
    return std::nullopt;
  };
  page.document = Guarded([&] { return acting.GetDocument(); });
  if (!page.document) return stop("the browser shows no HTML document");
  page.links = Guarded([&] { return page.document->Links(); });
  if (!page.links) return stop("the document's links cannot be read");
  const std::optional<long> count = Guarded([&] { return page.links->Length(); });
  if (!count) return stop("the number of links cannot be read");
  if (*count <= 0 && !allowEmpty) return stop("the page has no links");
  page.count = std::clamp(*count, 0L, kMaxLinksWalked);
  std::optional<std::string> url = Guarded([&] { return page.document->Url(); });
  if (!url) return stop("the document's address cannot be read");
  page.url = std::move(*url);
  if (trace_ != nullptr) {
    trace_->docURL = page.url;
    trace_->linkCount = page.count;
  }
  return page;
}

bool CommandExecutor::RunLinkStage(std::string_view command, const RuleSet& set, Browser& acting,
                                   Page& page) {
  const PreparedRules rules(command, set);
  // Such a rule still runs, against markup made of the address and the text; the log
  // says so, since a rule written for the page's own markup may then miss.
  if (rules.readsMarkup() && Guarded([&] { return !page.document->ServesMarkup(); })) {
    Log({"    页面未提供源代码,[代码]规则按链接的地址和文字合成的代码匹配"});
  }
  if (trace_ != nullptr) {
    trace_->linkStage = true;
    trace_->setLines = set;
    trace_->setVerdicts = rules.skipped();
  }
  for (long i = 0; i < page.count; ++i) {
    const std::unique_ptr<LinkElement> link = Guarded([&] { return page.links->Item(i); });
    if (!link) {
      Note({"link ", std::to_string(i), " cannot be read: the link stage ends"});
      if (trace_ != nullptr) trace_->linkStageEnded = true;
      return false;
    }
    LinkTrace* seen = nullptr;
    if (trace_ != nullptr) {
      seen = &trace_->links.emplace_back();
      seen->index = i;
      seen->address = Guarded([&] { return link->Href(); }).value_or("");
    }
    const LinkMatch match = MatchGuarded(rules, *link, page.url, seen ? &seen->seen : nullptr);
    if (seen != nullptr) seen->kind = match.kind;
    if (match.kind == MatchKind::ReadFailed) {
      Note({"link ", std::to_string(i), " cannot be read: the link stage ends"});
      if (trace_ != nullptr) trace_->linkStageEnded = true;
      return false;
    }
    if (match.kind == MatchKind::None) continue;
    Act(match, *link, acting);
    return true;
  }
  return false;
}

void CommandExecutor::ClickInPlace(LinkElement& link) {
  // The link's own target ("_blank" on many forums) would open a new window that the
  // next command cannot see, leaving a trail of windows behind.
  Guarded([&] { return link.SetTarget("_self"); });
  Guarded([&] { return link.Click(); });
}

void CommandExecutor::Act(const LinkMatch& match, LinkElement& link, Browser& acting) {
  switch (match.kind) {
    case MatchKind::Keyword:
      try {
        Log({"    执行指令:", LinkTextForLog(link)});
      } catch (...) {
      }
      ClickInPlace(link);
      return;
    case MatchKind::CodeRule:
      Log({"    执行指令:", match.setLine});
      ClickInPlace(link);
      return;
    case MatchKind::PlainRule:
    case MatchKind::PageNumberRule:
      Log({"    执行指令", match.setLine});
      ClickInPlace(link);
      return;
    case MatchKind::SpecialRule:
      // A link without an address still ends the command: the rule chose it.
      if (match.address.empty()) return;
      Log({"    执行指令,特别处理: ", match.address});
      Guarded([&] { return acting.Navigate(match.address, "_self"); });
      return;
    case MatchKind::None:
    case MatchKind::ReadFailed:
      return;
  }
}

void CommandExecutor::RunFallbackStages(std::string_view command, const ExecutorInputs& inputs,
                                        const RuleSet& set, Browser& acting, Page& page) {
  SwallowingLog log(log_);
  const std::string& docURL = page.url;
  bool found = false;
  if (IsPageNumberCommand(command)) {
    if (trace_ != nullptr) trace_->templateStage = true;
    auto* trials = trace_ != nullptr ? &trace_->templates : nullptr;
    found = Guarded([&] { return RunUrlTemplateStage(acting, docURL, command, set, log, trials); });
  }
  if (!found && (command == "prev" || command == "next")) {
    if (trace_ != nullptr) trace_->positionStage = true;
    auto* trials = trace_ != nullptr ? &trace_->positions : nullptr;
    found = Guarded([&] {
      return RunFixedPositionStage(command, docURL, inputs.fixedPositionLines, curBrowserWnd_,
                                   messenger_, log, trials);
    });
  }
  if (!found && inputs.smartFallback && IsSmartCommand(command)) RunSmartStage(command, acting, page);
}

void CommandExecutor::RunSmartStage(std::string_view command, Browser& acting, Page& page) {
  const SmartDecision decision = Guarded([&] {
    return DecideSmart(command, *page.document, page.links.get(), page.count, page.url,
                       trace_ != nullptr);
  });
  if (trace_ != nullptr) {
    trace_->smartStage = true;
    trace_->smart = decision;
  }
  switch (decision.action) {
    case SmartDecision::Action::None:
      return;
    case SmartDecision::Action::ClickLink: {
      Log({decision.logLine});
      const std::unique_ptr<LinkElement> link =
          Guarded([&] { return page.links->Item(decision.linkIndex); });
      if (!link) return;
      ClickInPlace(*link);
      return;
    }
    case SmartDecision::Action::Navigate:
      Log({decision.logLine});
      Guarded([&] { return acting.Navigate(decision.address, "_self"); });
      return;
  }
}

void CommandExecutor::Note(std::initializer_list<std::string_view> parts) {
  if (trace_ == nullptr) return;
  std::string note;
  for (const auto part : parts) note += part;
  trace_->notes.push_back(std::move(note));
}

void CommandExecutor::Log(std::initializer_list<std::string_view> parts) noexcept {
  try {
    std::string line;
    for (const auto part : parts) line += part;
    log_.Append(line);
  } catch (...) {
  }
}

}  // namespace paginor
