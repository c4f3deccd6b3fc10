#include "browser/modern_discovery.h"

#include <set>
#include <vector>

#include "browser/accessible_browser.h"
#include "browser/ie_mode.h"
#include "browser/remembered_tree.h"
#include "browser/timed_accessible.h"

namespace paginor {
namespace {

// Enough for any desktop; a window system that keeps answering must not loop forever.
constexpr int kMaxTopLevelWindows = 10000;
constexpr int kMaxContentWindows = 64;

bool IsDocument(const AccessiblePtr& node) { return node && node->Role() == msaa::kRoleDocument; }

std::set<WindowHandle> TopLevelOfClass(WindowSystem& windows, std::string_view cls) {
  std::set<WindowHandle> found;
  for (WindowHandle h = windows.FindChild(0, 0, cls);
       h && found.size() < kMaxTopLevelWindows && found.insert(h).second;
       h = windows.FindChild(0, h, cls)) {
  }
  return found;
}

// The browsers' windows in the order a person would mean them: the one in front, then
// the Z-order.
std::vector<WindowHandle> BrowserWindowsInOrder(WindowSystem& windows, const std::set<WindowHandle>& firefox) {
  std::set<WindowHandle> candidates = TopLevelOfClass(windows, kChromiumWindowClass);
  candidates.insert(firefox.begin(), firefox.end());
  std::vector<WindowHandle> ordered;
  if (candidates.empty()) return ordered;
  const auto take = [&](WindowHandle h) {
    if (!candidates.erase(h) || !windows.IsVisible(h) || !IsBrowserExecutable(windows.ExeName(h))) return;
    ordered.push_back(h);
  };
  if (const WindowHandle front = windows.Foreground()) take(front);
  int seen = 0;
  for (WindowHandle h = windows.FindChild(0, 0, ""); h && seen < kMaxTopLevelWindows && !candidates.empty();
       h = windows.FindChild(0, h, ""), ++seen) {
    take(h);
  }
  return ordered;
}

// Chromium: the tab on show is the page of the visible content window; a docked
// DevTools has one too (content/browser/renderer_host/legacy_render_widget_host_win.cc
// serves each content window's own tree).
AccessiblePtr ChromiumShownDocument(WindowSystem& windows, AccessibleWindows& accessible,
                                    WindowHandle window, bool& hasContentWindows) {
  WindowHandle child = 0;
  for (int i = 0; i < kMaxContentWindows; ++i) {
    child = windows.FindChild(window, child, kChromiumContentClass);
    if (!child) break;
    hasContentWindows = true;
    if (!windows.IsVisible(child)) continue;
    if (AccessiblePtr document = FindActiveDocument(Remembered(accessible.FromWindow(child)))) {
      return document;
    }
  }
  return nullptr;
}

AccessiblePtr ShownDocument(WindowSystem& windows, AccessibleWindows& accessible, WindowHandle window) {
  bool hasContentWindows = false;
  if (AccessiblePtr document = ChromiumShownDocument(windows, accessible, window, hasContentWindows)) {
    return document;
  }
  if (hasContentWindows) return nullptr;
  AccessiblePtr root = accessible.FromWindow(window);
  if (!root) return nullptr;
  // Firefox keeps every tab's document in its tree, the hidden ones included; its root
  // names the one on show (accessible/windows/msaa/MsaaAccessible.cpp, accNavigate with
  // NAVRELATION_EMBEDS, answered by RootAccessible's EMBEDS relation).
  if (AccessiblePtr embedded = Remembered(root->Embedded()); IsDocument(embedded)) return embedded;
  // What the search reads of the document is not asked again by the command.
  return FindActiveDocument(Remembered(std::move(root)));
}

// Chromium shows a placeholder (busy, without address or content) until asked for the
// page's tree, then replaces it with the real document.
bool HasContent(const AccessiblePtr& document) {
  const auto address = document->Value();
  const auto children = document->Children();
  return address && !address->empty() && children && !children->empty();
}

}  // namespace

bool IsBrowserExecutable(std::string_view exe) {
  // Chromium: Chrome, Edge, Brave, Vivaldi, Opera, Chromium, and the Chinese browsers
  // built on it (360 Safe and Extreme, Sogou, QQ, 2345, Cheetah); Firefox and its forks.
  static constexpr std::string_view kBrowsers[] = {
      "chrome.exe",       "msedge.exe",      "brave.exe",      "vivaldi.exe",   "opera.exe",
      "chromium.exe",     "360se.exe",       "360chrome.exe",  "sogouexplorer.exe",
      "qqbrowser.exe",    "2345explorer.exe", "liebao.exe",    "firefox.exe",   "waterfox.exe",
      "librewolf.exe",    "floorp.exe",      "maxthon.exe"};
  const std::string name = ReduceExeName(exe);
  for (const std::string_view browser : kBrowsers) {
    if (name == browser) return true;
  }
  return false;
}

std::optional<ModernTab> FindModernTab(WindowSystem& windows, AccessibleWindows& accessible,
                                       const TabSearch& search) {
  const std::set<WindowHandle> firefox = TopLevelOfClass(windows, kFirefoxWindowClass);
  for (const WindowHandle h : BrowserWindowsInOrder(windows, firefox)) {
    AccessiblePtr document = ShownDocument(windows, accessible, h);
    if (!document) continue;
    const bool isFirefox = firefox.count(h) > 0;
    if (HasContent(document) || !search.pause) return ModernTab{std::move(document), h, isFirefox};
    // The old objects fail once replaced, so the tree is fetched anew each time.
    accessible.WakeWebContent(h);
    for (auto waited = std::chrono::milliseconds(0); waited < kWebContentWait; waited += kWebContentPoll) {
      search.pause(kWebContentPoll);
      if (AccessiblePtr fresh = ShownDocument(windows, accessible, h)) {
        document = std::move(fresh);
        if (HasContent(document)) return ModernTab{std::move(document), h, isFirefox};
      }
    }
    if (search.log) search.log->Append(kWebContentMissingLine);
    return ModernTab{std::move(document), h, isFirefox};
  }
  return std::nullopt;
}

CombinedDiscovery::CombinedDiscovery(BrowserDiscovery& ieEngine, WindowSystem& windows,
                                     AccessibleWindows& accessible, WorkerFactory makeWorker,
                                     std::shared_ptr<BrowserKeys> keys, Automation* automation,
                                     TabSearch search)
    : ieEngine_(ieEngine),
      windows_(windows),
      accessible_(accessible),
      makeWorker_(std::move(makeWorker)),
      keys_(std::move(keys)),
      automation_(automation),
      search_(std::move(search)) {}

bool CombinedDiscovery::FindBrowserWindow(BrowserPtr& browser, WindowHandle& window,
                                          std::string_view kind) {
  if (kind != kModernBrowserKind) return ieEngine_.FindBrowserWindow(browser, window, kind);
  try {
    // An Edge tab in IE mode is the IE engine's page: its document serves real markup.
    if (auto ieMode = FindIeModeTab(windows_)) {
      browser = std::move(ieMode->browser);
      window = ieMode->window;
      return true;
    }
    // A worker given up on a hung browser stays given up; the next command starts anew.
    if (!worker_ || worker_->givenUp()) worker_ = makeWorker_();
    if (!worker_) return false;
    WorkerWindows onWorker(worker_, accessible_);
    auto tab = FindModernTab(windows_, onWorker, search_);
    if (!tab) return false;
    // Firefox serves UI Automation through Windows' proxy over every tab's tree: slower
    // than its own MSAA, and its links may lack the Invoke pattern.
    std::shared_ptr<Automation> automation;
    if (automation_ && !tab->firefox) {
      if (!automationWorker_ || automationWorker_->givenUp()) automationWorker_ = makeWorker_();
      if (automationWorker_) automation = AutomationOnWorker(automationWorker_, *automation_);
    }
    browser = std::make_shared<AccessibleBrowser>(std::move(tab->document), tab->window, keys_, std::move(automation));
    window = tab->window;
    return true;
  } catch (...) {
    return false;
  }
}

BrowserPtr CombinedDiscovery::GetFrameBrowser(int index, const BrowserPtr& browser) {
  if (std::dynamic_pointer_cast<AccessibleBrowser>(browser)) return nullptr;
  return ieEngine_.GetFrameBrowser(index, browser);
}

}  // namespace paginor
