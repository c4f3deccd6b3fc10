#include "browser/discovery.h"

#include <map>
#include <set>
#include <string>
#include <utility>

#include "browser/ie_engine_processes.h"
#include "browser/ie_mode.h"
#include "browser/ie_version.h"

namespace paginor {
namespace {

constexpr std::string_view kSandbox = "Sandbox:360SEBox:";
constexpr std::size_t kMaxTitleChars = 400;
// Enough for any desktop; a window system that keeps answering must not loop forever.
constexpr int kMaxTopLevelWindows = 10000;

struct Found {
  BrowserPtr browser;
  WindowHandle window = 0;
};

// How one try ended: the world walk treats "no browser" and "no window" differently.
enum class Try { Found, NoWindow, NoBrowser };

class Walk {
 public:
  Walk(WindowSystem& windows, int ieMajor) : w_(windows), ieMajor_(ieMajor) {}

  // The kind's own walks first and unchanged; then its processes' windows, where Edge's
  // IE mode and the frames of current dual-engine builds are found.
  bool Run(std::string_view kind) {
    if (Walks(kind)) return true;
    return !IeEngineExeNames(kind).empty() && ProcessFallback(kind);
  }

  Found found;

 private:
  bool Walks(std::string_view kind) {
    if (kind == "ie") return Ie();
    if (kind == "maxthon") return Maxthon();
    if (kind == "360") return Qihoo();
    if (kind == "world") return World();
    if (kind == "tt") return Tt();
    if (kind == "sogou") return Sogou();
    return false;
  }

  // A missing parent ends the try: never let a 0 parent widen a child search to the
  // top-level windows.
  WindowHandle Child(WindowHandle parent, std::string_view cls) {
    return parent ? w_.FindChild(parent, 0, cls) : 0;
  }
  WindowHandle Topmost(std::string_view cls) { return w_.FindChild(0, 0, cls); }

  // The first visible window of the class under parent (0: top-level), from `after` on.
  WindowHandle FirstVisible(WindowHandle parent, std::string_view cls, WindowHandle after = 0) {
    for (WindowHandle h = w_.FindChild(parent, after, cls); h; h = w_.FindChild(parent, h, cls)) {
      if (w_.IsVisible(h)) return h;
    }
    return 0;
  }

  bool ExeContains(WindowHandle h, std::string_view part) {
    return ReduceExeName(w_.ExeName(h)).find(part) != std::string::npos;
  }

  WindowHandle FirstTopLevelOfExe(std::string_view cls, std::string_view exe, bool visibleOnly) {
    for (WindowHandle h = Topmost(cls); h; h = w_.FindChild(0, h, cls)) {
      if ((!visibleOnly || w_.IsVisible(h)) && ExeContains(h, exe)) return h;
    }
    return 0;
  }

  WindowHandle ChildTitled(WindowHandle parent, std::string_view cls, std::string_view title,
                           bool visibleOnly) {
    if (!parent) return 0;
    for (WindowHandle h = w_.FindChild(parent, 0, cls); h; h = w_.FindChild(parent, h, cls)) {
      if (w_.Title(h, kMaxTitleChars) == title && (!visibleOnly || w_.IsVisible(h))) return h;
    }
    return 0;
  }

  Try Confirm(WindowHandle content) {
    if (!content) return Try::NoWindow;
    asked_.insert(content);
    WindowBrowser answer = w_.BrowserFromWindow(content);
    if (answer.status != 0) return Try::NoBrowser;
    found = {std::move(answer.browser), content};
    return Try::Found;
  }

  // E from K, else D straight from the fallback parent P, then the content window.
  Try ContentTail(WindowHandle k, WindowHandle p, std::string_view q = "") {
    const std::string prefix(q);
    const WindowHandle e = Child(k, prefix + "Shell Embedding");
    const WindowHandle d = e ? Child(e, prefix + "Shell DocObject View")
                             : Child(p, prefix + "Shell DocObject View");
    return Confirm(Child(d, prefix + "Internet Explorer_Server"));
  }

  // Embedding, view and content window with no fallback parent.
  Try FixedChain(WindowHandle top) {
    const WindowHandle e = Child(top, "Shell Embedding");
    const WindowHandle d = Child(e, "Shell DocObject View");
    return Confirm(Child(d, "Internet Explorer_Server"));
  }

  // A hidden or minimised "IEFrame" on top (a window being closed, one sent to the
  // taskbar) is not what the user reads: the first shown one below it is.
  bool Ie() {
    WindowHandle frame = Topmost("IEFrame");
    while (frame && (!w_.IsVisible(frame) || w_.IsMinimized(frame))) frame = w_.FindChild(0, frame, "IEFrame");
    if (!frame) return false;
    return ieMajor_ < 7 ? ShellWindowsWalk(frame) : TabWalk(frame);
  }

  bool ShellWindowsWalk(WindowHandle frame) {
    const std::optional<long> count = w_.ShellWindowCount();
    if (!count) return false;
    for (long i = 0; i < *count; ++i) {
      ShellWindowItem item = w_.ShellWindow(i);
      if (!item.browser || !item.hasParent) continue;
      if (item.locationUrl.compare(0, 4, "http") != 0) continue;
      if (!item.window || *item.window != frame) continue;
      found = {std::move(item.browser), frame};
      return true;
    }
    return false;
  }

  bool TabWalk(WindowHandle frame) {
    std::string_view tabClass = "TabWindowClass";
    if (!Child(frame, tabClass)) {
      tabClass = "Frame Tab";
      if (!Child(frame, tabClass)) return false;
    }
    WindowHandle tab = FirstVisible(frame, tabClass);
    // IE 8 and later keep every tab's "TabWindowClass" under one "Frame Tab", the
    // background ones hidden.
    if (tabClass == "Frame Tab") tab = tab ? FirstVisible(tab, "TabWindowClass") : 0;
    const WindowHandle view = Child(tab, "Shell DocObject View");
    return Confirm(Child(view, "Internet Explorer_Server")) == Try::Found;
  }

  bool Maxthon() {
    const WindowHandle main = Topmost("Maxthon3Cls_MainFrm");
    const WindowHandle view = main ? FirstVisible(main, "Maxthon3Cls_BrowserView") : 0;
    if (view && ContentTail(view, main) == Try::Found) return true;

    if (const WindowHandle frame = FirstTopLevelOfExe("IEFrame", "maxthon", false)) {
      const WindowHandle mdi = Child(frame, "MDIClient");
      const WindowHandle child = mdi ? FirstVisible(mdi, "") : 0;
      if (!child) return false;
      return ContentTail(Child(child, "Afx:400000:8"), mdi) == Try::Found;
    }
    const WindowHandle frame = FirstTopLevelOfExe("Maxthon2_Frame", "maxthon", false);
    return frame && Maxthon2(frame);
  }

  bool Maxthon2(WindowHandle frame) {
    constexpr std::string_view kView = "Maxthon2_View";
    WindowHandle parent = 0;
    for (WindowHandle h = w_.FindChild(frame, 0, ""); h; h = w_.FindChild(frame, h, "")) {
      if (Child(h, kView)) {
        parent = h;
        break;
      }
    }
    if (!parent) {
      const std::uint32_t pid = w_.ProcessId(frame);
      if (pid == 0 || !Topmost(kView)) return false;
      bool topLevelViews = false;
      for (WindowHandle h = Topmost(kView); h && !topLevelViews; h = w_.FindChild(0, h, kView)) {
        topLevelViews = w_.IsVisible(h) && w_.ProcessId(h) == pid;
      }
      if (!topLevelViews) parent = frame;
    }
    WindowHandle view = parent ? Child(parent, kView) : Topmost(kView);
    if (!view) view = Topmost(kView);
    if (!view) return false;
    if (!w_.IsVisible(view)) view = FirstVisible(parent, kView, view);
    if (!view) return false;
    return ContentTail(view, parent) == Try::Found;
  }

  bool Qihoo() {
    const WindowHandle frame = Topmost("360se_Frame");
    const WindowHandle container = Child(Child(Child(frame, "Xwnd"), "Xwnd"), "Container");
    if (ContentTail(container, container) == Try::Found) return true;
    for (const std::string_view q : {std::string_view(), kSandbox}) {
      const std::string cls = std::string(q) + "Container";
      const WindowHandle k = FirstTopLevelOfExe(cls, "360se", true);
      if (k && ContentTail(k, k, q) == Try::Found) return true;
    }
    return XFrame(true);
  }

  bool World() {
    const WindowHandle k = FirstTopLevelOfExe("Container", "theworld", true);
    if (k && ContentTail(k, k) == Try::Found) return true;

    const WindowHandle x = Child(Child(Topmost("TheWorld_Frame"), "Xwnd"), "Xwnd");
    const WindowHandle container = x ? FirstVisible(x, "Container") : 0;
    if (container && ContentTail(container, x) == Try::Found) return true;

    const WindowHandle browserWnd = Child(Topmost("TheWorld"), "TheWorld_BrowserWnd");
    const WindowHandle mdi = Child(browserWnd, "TheWorld_BrowserWndMDI");
    switch (ContentTail(mdi, mdi)) {
      case Try::Found:
        return true;
      case Try::NoBrowser:
        return false;
      case Try::NoWindow:
        break;
    }
    return XFrame(false);
  }

  bool XFrame(bool sandboxFirst) {
    std::string q;
    WindowHandle frame = sandboxFirst ? Topmost(std::string(kSandbox) + "XFrame_Wnd") : 0;
    if (frame) {
      q = kSandbox;
    } else {
      frame = Topmost("XFrame_Wnd");
      if (!frame) return false;
    }
    const std::string cls = q + "XCtrl_Wnd";
    const WindowHandle mdi = ChildTitled(frame, cls, "MDI", false);
    const WindowHandle tabs = ChildTitled(mdi, cls, "MultiTabBrowser", false);
    const WindowHandle browser = ChildTitled(tabs, cls, "Browser", true);
    return browser && ContentTail(browser, tabs, q) == Try::Found;
  }

  bool Tt() {
    if (FixedChain(FirstVisible(0, "TT_WebCtrl")) == Try::Found) return true;

    WindowHandle traveler = 0;
    for (WindowHandle h = w_.FindChild(0, 0, ""); h && !traveler; h = w_.FindChild(0, h, "")) {
      const std::string title = w_.Title(h, kMaxTitleChars);
      if (title.find("Tencent Traveler") != std::string::npos &&
          ReduceExeName(w_.ExeName(h)) == "ttraveler.exe") {
        traveler = h;
      }
    }
    if (!traveler) return false;
    for (WindowHandle h = w_.FindChild(traveler, 0, ""); h; h = w_.FindChild(traveler, h, "")) {
      const WindowHandle embedding = Child(Child(h, ""), "Shell Embedding");
      if (!embedding) continue;
      const WindowHandle view = Child(embedding, "Shell DocObject View");
      return Confirm(Child(view, "Internet Explorer_Server")) == Try::Found;
    }
    return false;
  }

  // Every visible top level of the kind's processes, from the top down; the first that
  // holds a visible content window is asked, and only that one, so that windows the
  // browser cannot use never cost a wait each.
  bool ProcessFallback(std::string_view kind) {
    std::map<std::uint32_t, bool> ofKind;  // one process snapshot per process
    int seen = 0;
    for (WindowHandle h = w_.FindChild(0, 0, ""); h && seen < kMaxTopLevelWindows;
         h = w_.FindChild(0, h, ""), ++seen) {
      if (!w_.IsVisible(h) || w_.IsMinimized(h)) continue;
      const std::uint32_t pid = w_.ProcessId(h);
      auto known = ofKind.find(pid);
      if (known == ofKind.end()) {
        known = ofKind.emplace(pid, IsIeEngineExe(kind, ReduceExeName(w_.ExeName(h)))).first;
      }
      if (!known->second) continue;
      // A window a walk has already asked in vain would only cost its wait again.
      if (const WindowHandle content = FindVisibleContentWindow(w_, h)) {
        return !asked_.count(content) && Confirm(content) == Try::Found;
      }
    }
    return false;
  }

  bool Sogou() {
    const WindowHandle top = FirstVisible(0, "SE_AxControl");
    return top && FixedChain(top) == Try::Found;
  }

  WindowSystem& w_;
  int ieMajor_;
  std::set<WindowHandle> asked_;
};

}  // namespace

std::string ReduceExeName(std::string_view exe) {
  const auto slash = exe.find_last_of("\\/");
  if (slash != std::string_view::npos) exe.remove_prefix(slash + 1);
  std::string out(exe);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

WindowDiscovery::WindowDiscovery(WindowSystem& windows, FrameSource& frames, std::string ieVersion)
    : windows_(windows), frames_(frames), ieMajor_(IEMajor(ieVersion)) {}

bool WindowDiscovery::FindBrowserWindow(BrowserPtr& browser, WindowHandle& window,
                                        std::string_view kind) {
  try {
    Walk walk(windows_, ieMajor_);
    if (!walk.Run(kind)) return false;
    browser = std::move(walk.found.browser);
    window = walk.found.window;
    return true;
  } catch (...) {
    // The shell windows collection and the browser may fail in ways the platform
    // reports by throwing; the caller sees a browser that was not found.
    return false;
  }
}

BrowserPtr WindowDiscovery::GetFrameBrowser(int index, const BrowserPtr& browser) {
  try {
    return paginor::GetFrameBrowser(frames_, index, browser);
  } catch (...) {
    return nullptr;
  }
}

}  // namespace paginor
