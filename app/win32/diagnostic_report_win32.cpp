#include "app/win32/diagnostic_report_win32.h"

#include <windows.h>

#include <chrono>
#include <memory>

#include "app/report_settings.h"
#include "app/settings_keys.h"
#include "app/text_lists.h"
#include "app/win32/profile_file_win32.h"
#include "app/win32/report_machine.h"
#include "browser/counted_browser.h"
#include "browser/modern_discovery.h"
#include "browser/page_focus.h"
#include "browser/traced_windows.h"
#include "browser/win32/accessible_win32.h"
#include "browser/win32/call_watchdog.h"
#include "browser/win32/com_util.h"
#include "browser/win32/uia_win32.h"
#include "browser/win32/win32_browser.h"
#include "browser/win32/win32_window_system.h"
#include "engine/browser_kinds.h"
#include "engine/definition_file.h"
#include "engine/definition_sets.h"
#include "engine/explain.h"
#include "engine/text_file.h"

namespace paginor::app::win32 {
namespace {

using paginor::win32::CallWatchdog;
using paginor::win32::ComApartment;
using paginor::win32::kDocumentTimeoutMs;

constexpr std::size_t kTraceLines = 40;

std::string Header(bool full) {
  std::string text =
      "Paginor diagnostic report\n"
      "It holds: this machine's Windows version, language and display scale; Paginor's version and\n"
      "settings; the windows that could be browsers (class, program, state); each browser kind's\n"
      "search through the windows and where it stopped; and what the command \"next\" would do on\n"
      "the page on show. No window titles, form values or cookies; of the page's text only the\n"
      "words of links that a keyword or rule matched.\n";
  text += full ? "Page addresses are whole (--full).\n"
               : "Page addresses are cut to their scheme and host (--full keeps them whole).\n";
  return text;
}

std::string Join(const std::string& folder, std::string_view name) {
  return folder.empty() ? std::string(name) : folder + "\\" + std::string(name);
}

struct Settings {
  int choice = 0;
  bool smart = false;
};

Settings ReadSettings(const std::string& folder) {
  const PrivateProfileFile profile(Join(folder, kSettingsFileName));
  return {ReadInteger(profile, kBrowserSection, kBrowserKey, 0), ReadBoolean(profile, kConfigSection, kSmartKey, false)};
}

int ChoiceOf(std::string_view kind) {
  for (std::size_t i = 0; i < kBrowserKinds.size(); ++i) {
    if (kBrowserKinds[i] == kind) return static_cast<int>(i);
  }
  return -1;
}

class LinesLog : public OperationLog {
 public:
  void Append(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

std::string FocusName(FocusVerdict verdict) {
  switch (verdict) {
    case FocusVerdict::Page: return "on the page (keys become commands)";
    case FocusVerdict::Typing: return "on something that takes typing (keys are typed)";
    case FocusVerdict::Elsewhere: return "on the browser's own controls";
    case FocusVerdict::Unknown: break;
  }
  return "unknown: the tree did not answer";
}

// What only Chromium and Firefox tell: their accessibility, as a key and a command meet it.
void ModernLines(WindowHandle window, std::vector<std::string>& lines) {
  paginor::win32::Win32AccessibleWindows accessible;
  lines.push_back("focus " + FocusName(JudgeFocus(accessible.FromWindow(window))));
  lines.push_back(paginor::win32::Win32Automation::Refused()
                      ? "UI Automation: refused by this system; links come from the MSAA walk"
                      : "UI Automation: offered; Chromium's links come through it, Firefox's from the MSAA walk");
}

// One browser kind's walk, over window calls that are written down.
void WalkLines(const std::string& kind, bool full, std::vector<std::string>& lines) {
  const ComApartment apartment;
  const CallWatchdog watchdog(kDocumentTimeoutMs);
  paginor::win32::Win32WindowSystem real;
  TracedWindows traced(real);
  LinesLog log;
  const auto discovery = paginor::win32::MakeWin32BrowserDiscovery(paginor::win32::DetectIEVersion(), traced, &log);
  BrowserPtr browser;
  WindowHandle window = 0;
  const auto start = std::chrono::steady_clock::now();
  const bool found = discovery->FindBrowserWindow(browser, window, kind);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  lines.push_back(std::to_string(traced.calls()) + " window calls in " + std::to_string(ms.count()) + " ms:");
  for (const std::string& step : ShortTrace(traced.trace(), kTraceLines)) lines.push_back("  " + step);
  for (const std::string& line : log.lines) lines.push_back("log: " + line);
  if (!found || !browser) {
    lines.push_back(traced.calls() ? "no tab found: the search ended at the last step above"
                                   : "no tab found: the search made no window call");
    return;
  }
  lines.push_back("tab found in window " + WindowName(window));
  const std::unique_ptr<Document> document = browser->GetDocument();
  if (!document) {
    lines.push_back("its document did not come");
    return;
  }
  const std::optional<std::string> url = document->Url();
  lines.push_back("document " + (url ? ReportAddress(*url, full) : std::string("(address unreadable)")));
  const std::unique_ptr<LinkCollection> links = document->Links();
  const std::optional<long> count = links ? links->Length() : std::nullopt;
  lines.push_back(count ? std::to_string(*count) + " links" : std::string("its links cannot be read"));
  if (kind == kModernBrowserKind) ModernLines(window, lines);
}

void ExplainLines(const std::string& folder, int choice, bool smart, bool full, std::vector<std::string>& lines) {
  const ComApartment apartment;
  const CallWatchdog watchdog(kDocumentTimeoutMs);
  DefinitionSets sets;
  if (const std::optional<std::string> text = ReadTextFile(Join(folder, kLastDefinitionsFile))) {
    sets = ParseDefinitionText(*text);
  } else {
    lines.push_back(std::string(kLastDefinitionsFile) + " cannot be read: no rules of one's own");
  }
  ExecutorInputs inputs;
  inputs.browserChoice = choice;
  inputs.activeSets = &sets;
  inputs.smartFallback = smart;
  for (const ListFile& list : kListFiles) {
    const std::optional<std::string> text = ReadTextFile(Join(folder, list.name));
    if (!text) continue;
    if (list.memo == Control::dmemo1) inputs.keyboardDisable = SplitLines(*text);
    if (list.memo == Control::xyMemo) inputs.fixedPositionLines = SplitLines(*text);
  }
  const auto discovery = paginor::win32::MakeWin32BrowserDiscovery(paginor::win32::DetectIEVersion());
  const auto messenger = paginor::win32::MakeWin32WindowMessenger();
  CountedDiscovery counted(*discovery);
  const Explanation explanation = ExplainCommand("next", Origin::Keyboard, inputs, counted, *messenger);
  for (const std::string& line : SplitLines(ExplanationText(explanation))) {
    lines.push_back(ReportAddresses(line, full));
  }
  lines.push_back(std::to_string(counted.calls()) + " calls into the browser's document and links");
}

}  // namespace

std::string ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD chars = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, chars);
  folder.erase(folder.find_last_of(L"\\/") == std::wstring::npos ? 0 : folder.find_last_of(L"\\/"));
  return paginor::win32::Utf8(folder);
}

std::string MakeDiagnosticReport(const ReportRequest& request) {
  const std::string folder = request.folder;
  const bool full = request.full;
  const Settings settings = ReadSettings(folder);
  const int choice = request.kind ? ChoiceOf(*request.kind) : settings.choice;
  const std::string chosen(BrowserKindForChoice(choice));
  std::vector<ReportPart> parts;
  parts.push_back({"Windows and Paginor", [](auto& lines) { MachineLines(lines); }});
  parts.push_back({"Settings", [folder](auto& lines) {
                     const std::string path = Join(folder, kSettingsFileName);
                     lines = ReportSettingsLines(PrivateProfileFile(path), FileExists(path));
                   }});
  parts.push_back({"Windows that could be browsers", [](auto& lines) { BrowserWindowLines(lines); }});
  parts.push_back({"The IE engine", [](auto& lines) { IEEngineLines(lines); }});
  for (std::string_view kind : kBrowserKinds) {
    parts.push_back({"Search for the kind \"" + std::string(kind) + "\"" + (kind == chosen ? " (chosen)" : ""),
                     [kind = std::string(kind), full](auto& lines) { WalkLines(kind, full, lines); }});
  }
  parts.push_back({"What \"next\" would do with the kind \"" + chosen + "\"",
                   [folder, choice, smart = settings.smart, full](auto& lines) {
                     ExplainLines(folder, choice, smart, full, lines);
                   }});
  return RunReport(Header(full), parts, request.budget);
}

}  // namespace paginor::app::win32
