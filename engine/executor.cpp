#include "engine/executor.h"

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>

#include "engine/fixed_position.h"
#include "engine/link_search.h"
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

LinkMatch MatchGuarded(const PreparedRules& rules, LinkElement& link, std::string_view docURL) noexcept {
  try {
    return MatchLink(rules, link, docURL);
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
  if (!Discover(inputs)) return;
  const BrowserPtr acting = ActingBrowser(inputs);
  // Discovery may succeed with an empty browser object: it then fails every call.
  curURL_ = acting ? Guarded([&] { return acting->LocationUrl(); }).value_or("") : std::string();

  const auto& disable = origin == Origin::Keyboard ? inputs.keyboardDisable : inputs.mouseDisable;
  if (IsDisabledUrl(curURL_, disable)) {
    Log({"    指令不执行，对应禁用网址: ", curURL_});
    return;
  }
  if (!acting) return;
  if (command == "back") {
    Guarded([&] { return acting->GoBack(); });
    return;
  }
  if (command == "forward") {
    Guarded([&] { return acting->GoForward(); });
    return;
  }

  std::optional<Page> page = OpenPage(*acting);
  if (!page) return;
  SetIndex setIndex = SetIndex::Page;
  SetForCommand(command, setIndex);
  const RuleSet& set = inputs.activeSets ? (*inputs.activeSets)[setIndex] : kNoRules;
  if (RunLinkStage(command, set, *acting, *page)) return;
  RunFallbackStages(command, inputs, set, *acting, page->url);
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
    Log({"没有发现目标浏览器:", kind});
    return false;
  }
  curBrowser_ = std::move(browser);
  curBrowserWnd_ = window;
  return true;
}

BrowserPtr CommandExecutor::ActingBrowser(const ExecutorInputs& inputs) {
  if (inputs.framesOption && curBrowser_) {
    BrowserPtr frame =
        Guarded([&] { return discovery_.GetFrameBrowser(inputs.frameIndex, curBrowser_); });
    if (frame) return frame;
  }
  return curBrowser_;
}

std::optional<CommandExecutor::Page> CommandExecutor::OpenPage(Browser& acting) {
  Page page;
  page.document = Guarded([&] { return acting.GetDocument(); });
  if (!page.document) return std::nullopt;
  page.links = Guarded([&] { return page.document->Links(); });
  if (!page.links) return std::nullopt;
  const std::optional<long> count = Guarded([&] { return page.links->Length(); });
  if (!count || *count <= 0) return std::nullopt;
  page.count = std::min(*count, kMaxLinksWalked);
  std::optional<std::string> url = Guarded([&] { return page.document->Url(); });
  if (!url) return std::nullopt;
  page.url = std::move(*url);
  return page;
}

bool CommandExecutor::RunLinkStage(std::string_view command, const RuleSet& set, Browser& acting,
                                   Page& page) {
  const PreparedRules rules(command, set);
  for (long i = 0; i < page.count; ++i) {
    const std::unique_ptr<LinkElement> link = Guarded([&] { return page.links->Item(i); });
    if (!link) return false;
    const LinkMatch match = MatchGuarded(rules, *link, page.url);
    if (match.kind == MatchKind::ReadFailed) return false;
    if (match.kind == MatchKind::None) continue;
    Act(match, *link, acting);
    return true;
  }
  return false;
}

void CommandExecutor::Act(const LinkMatch& match, LinkElement& link, Browser& acting) {
  switch (match.kind) {
    case MatchKind::Keyword:
      try {
        Log({"    执行指令:", LinkTextForLog(link)});
      } catch (...) {
      }
      // The link's own target could open a new window the next command cannot see.
      Guarded([&] { return link.SetTarget("_self"); });
      Guarded([&] { return link.Click(); });
      return;
    case MatchKind::CodeRule:
      Log({"    执行指令:", match.setLine});
      Guarded([&] { return link.Click(); });
      return;
    case MatchKind::PlainRule:
    case MatchKind::PageNumberRule:
      Log({"    执行指令", match.setLine});
      Guarded([&] { return link.Click(); });
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
                                        const RuleSet& set, Browser& acting,
                                        const std::string& docURL) {
  SwallowingLog log(log_);
  bool found = false;
  if (IsPageNumberCommand(command)) {
    found = Guarded([&] { return RunUrlTemplateStage(acting, docURL, command, set, log); });
  }
  if (!found && (command == "prev" || command == "next")) {
    Guarded([&] {
      return RunFixedPositionStage(command, docURL, inputs.fixedPositionLines, curBrowserWnd_,
                                   messenger_, log);
    });
  }
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
