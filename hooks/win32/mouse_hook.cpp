// The mouse hook: right-button strokes and left double clicks on browser pages.

#include "hooks/win32/mouse_hook.h"

#include "hooks/MouseHookCommon.h"
#include "hooks/key_filter.h"
#include "hooks/stroke_tracker.h"
#include "hooks/win32/hook_thread.h"

namespace paginor::hooks::mouse {
namespace {

constexpr UINT kStrokeReport = kWorkMessage;      // wParam event, lParam packed point
constexpr UINT kReplayRightClick = kWorkMessage + 1;
constexpr UINT kDoubleClickAt = kWorkMessage + 2;  // wParam x, lParam y

// Touched only on the hook thread.
HookThread thread;
StrokeTracker strokes;
DoubleClickDetector doubles;
DoubleClickDetector::Limits doubleLimits;
UINT strokeMessage = 0;
UINT zoneMessage = 0;

// The one window lookup inside the callback, and only for a right press: whether to hold
// it back must be known before the callback returns. WindowFromPoint sends nothing to
// windows of other threads, and this thread owns none.
// The class of the last window asked about is kept: strokes start on the same page again
// and again (window handles carry a reuse counter, so a recycled one is not mistaken).
bool OverPage(POINT pt) {
  static HWND lastWindow = nullptr;
  static PageKind lastKind = PageKind::IeEngine;
  static bool lastWasPage = false;
  const HWND w = WindowFromPoint(pt);
  const PageKind kind = CurrentPageKind();
  if (w != lastWindow || kind != lastKind) {
    const ClassName name = ClassOf(w);
    lastWindow = w;
    lastKind = kind;
    lastWasPage = IsBrowserPageClass({name.buf, static_cast<std::size_t>(name.length)}, kind);
  }
  return lastWasPage;
}

}  // namespace

bool OnMouseEvent(WPARAM message, const MSLLHOOKSTRUCT& m) {
  if (m.dwExtraInfo == kReplayMark) return false;
  const Point p{m.pt.x, m.pt.y};
  MouseDecision d;
  switch (message) {
    case WM_RBUTTONDOWN:
      d = strokes.OnRightDown(p, OverPage(m.pt));
      break;
    case WM_MOUSEMOVE:
      d = strokes.OnMove(p);
      break;
    case WM_RBUTTONUP:
      d = strokes.OnRightUp(p);
      break;
    case WM_LBUTTONDOWN:
      if (doubles.OnLeftDown(p, m.time, doubleLimits)) {
        thread.Post(kDoubleClickAt, static_cast<WPARAM>(p.x), static_cast<LPARAM>(p.y));
      }
      break;
    default:
      break;
  }
  for (int i = 0; i < d.count; ++i) {
    thread.Post(kStrokeReport, d.reports[i].event,
                PackStrokePoint(d.reports[i].at.x, d.reports[i].at.y));
  }
  if (d.replayClick) thread.Post(kReplayRightClick, 0, 0);
  return d.swallow;
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && OnMouseEvent(wParam, *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam))) {
    return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

namespace {

void Prepare() {
  strokeMessage = RegisterWindowMessageW(kMouseHookMessage1);
  zoneMessage = RegisterWindowMessageW(kMouseHookMessage3);
  strokes = StrokeTracker{};
  doubles = DoubleClickDetector{};
  doubleLimits.timeMs = GetDoubleClickTime();
  doubleLimits.width = GetSystemMetrics(SM_CXDOUBLECLK);
  doubleLimits.height = GetSystemMetrics(SM_CYDOUBLECLK);
}

// The page window a double click landed on: the outermost of nested page windows. For
// Firefox, whose page has no window of its own, that is its top-level window, and the
// zones are cut from its client area.
HWND PageAt(POINT pt) {
  HWND w = WindowFromPoint(pt);
  const PageKind kind = CurrentPageKind();
  const auto isPage = [kind](HWND h) {
    const ClassName name = ClassOf(h);
    return IsBrowserPageClass({name.buf, static_cast<std::size_t>(name.length)}, kind);
  };
  if (!isPage(w)) return nullptr;
  for (HWND parent = GetAncestor(w, GA_PARENT); parent && isPage(parent);
       parent = GetAncestor(parent, GA_PARENT)) {
    w = parent;
  }
  return w;
}

void ReportDoubleClick(POINT pt) {
  const HWND page = PageAt(pt);
  if (!page) return;
  RECT client{};
  if (!GetClientRect(page, &client)) return;
  MapWindowPoints(page, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const DoubleClickZone zone =
      ZoneOf({client.left, client.top, client.right, client.bottom}, {pt.x, pt.y});
  PostToMainWindow(zoneMessage, static_cast<WPARAM>(zone), 0);
}

// Gives the page the right click the callback held back, marked so the hook lets it pass.
void ReplayRightClick() {
  INPUT inputs[2]{};
  for (INPUT& in : inputs) {
    in.type = INPUT_MOUSE;
    in.mi.dwExtraInfo = kReplayMark;
  }
  inputs[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  SendInput(2, inputs, sizeof(INPUT));
}

void Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kStrokeReport:
      PostToMainWindow(strokeMessage, wParam, lParam);
      break;
    case kReplayRightClick:
      ReplayRightClick();
      break;
    case kDoubleClickAt:
      ReportDoubleClick({static_cast<LONG>(wParam), static_cast<LONG>(lParam)});
      break;
    default:
      break;
  }
}

}  // namespace

bool Start() { return thread.Start(WH_MOUSE_LL, &MouseProc, &Prepare, &Handle); }

bool Stop() { return thread.Stop(); }

}  // namespace paginor::hooks::mouse
