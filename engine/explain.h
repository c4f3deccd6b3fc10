#pragma once
// Why a command does what it does: the executor's own decision path run on a browser
// that only records what would be done, with every stage telling what it saw.

#include <string>
#include <string_view>

#include "engine/browser_model.h"
#include "engine/executor.h"
#include "engine/explanation.h"
#include "engine/window_messenger.h"

namespace paginor {

// Runs the command as ExecuteCommand does, discovery and disable lists included, but
// nothing reaches the browser or its windows: clicks, navigations, history moves and
// posted messages are recorded in actions, the log lines in log.
Explanation ExplainCommand(std::string_view command, Origin origin, const ExecutorInputs& inputs,
                           BrowserDiscovery& discovery, WindowMessenger& messenger);

// The same for a browser already in hand (the tab the user reads), as window.
Explanation ExplainOnBrowser(std::string_view command, Origin origin, const ExecutorInputs& inputs,
                             BrowserPtr browser, WindowHandle window,
                             WindowMessenger& messenger);

struct ExplainFormat {
  bool all = false;  // list every link examined, not only those that matched something
};

// For people: one stage after the other, in the order the command tried them.
std::string ExplanationText(const Explanation& explanation, ExplainFormat format = {});
// For tools: the same as one JSON document.
std::string ExplanationJson(const Explanation& explanation, ExplainFormat format = {});

}  // namespace paginor
