#pragma once
// The command executor: logs each page-turn command, finds the browser and page it
// acts on, and tries the ways to reach the requested page in their fixed order.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/browser_kinds.h"
#include "engine/browser_model.h"
#include "engine/command.h"
#include "engine/disable_list.h"
#include "engine/operation_log.h"
#include "engine/rule_set.h"
#include "engine/window_messenger.h"

namespace paginor {

struct LinkMatch;
struct Explanation;

// What the main window's controls hold at the moment of the command.
struct ExecutorInputs {
  int browserChoice = 0;                        // rgpIE item index, -1..5
  bool framesOption = false;                    // chkframe
  int frameIndex = -1;                          // cbframe item index
  std::vector<std::string> keyboardDisable;     // dmemo1 lines
  std::vector<std::string> mouseDisable;        // dmemo2 lines
  std::vector<std::string> fixedPositionLines;  // xyMemo lines
  const DefinitionSets* activeSets = nullptr;   // active copies; null reads as empty sets
  bool smartFallback = false;                   // the smart last stage, off unless chosen
};

class CommandExecutor {
 public:
  CommandExecutor(BrowserDiscovery& discovery, WindowMessenger& messenger, OperationLog& log);

  // Logs the receipt line, then executes.
  void ReceiveCommand(std::string_view command, Origin origin, const ExecutorInputs& inputs);
  // Never throws: every failure ends in a log line or in silence.
  void ExecuteCommand(std::string_view command, Origin origin, const ExecutorInputs& inputs);

  // The tab of the last successful discovery, and the address of the last page acted on.
  const BrowserPtr& curBrowser() const { return curBrowser_; }
  WindowHandle curBrowserWnd() const { return curBrowserWnd_; }
  const std::string& curURL() const { return curURL_; }

  // Every later command also records what it saw into trace (null: stop recording).
  // Used by ExplainCommand, which hands this executor a browser that does not act.
  void TraceInto(Explanation* trace) { trace_ = trace; }

 private:
  struct Page;
  void Execute(std::string_view command, Origin origin, const ExecutorInputs& inputs);
  bool Discover(const ExecutorInputs& inputs);
  BrowserPtr ActingBrowser(const ExecutorInputs& inputs);
  std::optional<Page> OpenPage(Browser& acting, bool allowEmpty);
  bool RunLinkStage(std::string_view command, const RuleSet& set, Browser& acting, Page& page);
  void Act(const LinkMatch& match, LinkElement& link, Browser& acting);
  void ClickInPlace(LinkElement& link);
  void RunFallbackStages(std::string_view command, const ExecutorInputs& inputs,
                         const RuleSet& set, Browser& acting, Page& page);
  void RunSmartStage(std::string_view command, Browser& acting, Page& page);
  void Log(std::initializer_list<std::string_view> parts) noexcept;
  // Only explanations keep notes; a command without one builds none.
  void Note(std::initializer_list<std::string_view> parts);

  BrowserDiscovery& discovery_;
  WindowMessenger& messenger_;
  OperationLog& log_;
  BrowserPtr curBrowser_;
  WindowHandle curBrowserWnd_ = 0;
  std::string curURL_;
  Explanation* trace_ = nullptr;
};

}  // namespace paginor
