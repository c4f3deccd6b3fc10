// The hook libraries and the floating box as a person meets them: the real DLLs and
// hoverpad.exe, real input injected with SendInput, a stand-in main window that records
// what arrives, and windows of the tests' own standing in for a browser page and for a
// plain edit window. Runs under wine64 and Xvfb.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hooks/MouseHookCommon.h"
#include "hooks/floatCommon.h"
#include "hooks/hoverpad_layout.h"
#include "hooks/keyHookCommon.h"
#include "hooks/win32/hook_exports.h"

namespace paginor::hooks {
namespace {

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

UINT keyMessage, strokeMessage, zoneMessage, floatKeyMessage, floatMouseMessage;
std::vector<Received> received;   // by the stand-in main window
std::vector<UINT> pageMessages;   // mouse buttons, context menus and keys the page got
std::vector<UINT> otherMessages;  // the same for the window that is no page

LRESULT CALLBACK ReceiverProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == keyMessage || m == strokeMessage || m == zoneMessage || m == floatKeyMessage ||
      m == floatMouseMessage) {
    received.push_back({m, wp, lp});
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

LRESULT CALLBACK RecordingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_RBUTTONDOWN || m == WM_RBUTTONUP || m == WM_CONTEXTMENU || m == WM_KEYDOWN) {
    wchar_t name[64] = L"";
    GetClassNameW(w, name, 64);
    (std::wstring(name) == L"Internet Explorer_Server" ? pageMessages : otherMessages).push_back(m);
    if (m == WM_CONTEXTMENU) return 0;  // handled: no menu, nothing passed up
  }
  return DefWindowProcW(w, m, wp, lp);
}

template <class Done>
bool PumpUntil(Done done, DWORD timeoutMs = 5000) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void Pump(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

void Send(std::vector<INPUT> inputs) {
  ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)),
            inputs.size());
}

INPUT Key(WORD vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  return in;
}

void Tap(WORD vk) { Send({Key(vk, true), Key(vk, false)}); }

INPUT Mouse(DWORD flags, POINT at = {-1, -1}) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  if (at.x >= 0) {
    in.mi.dwFlags |= MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  return in;
}

void MoveTo(POINT p) { Send({Mouse(0, p)}); }

void Click(POINT p, DWORD down, DWORD up) {
  MoveTo(p);
  Send({Mouse(down), Mouse(up)});
}

// Draws a straight drag of `steps` moves with a button held.
void Drag(POINT from, POINT to, int steps, DWORD down, DWORD up) {
  MoveTo(from);
  Send({Mouse(down)});
  for (int i = 1; i <= steps; ++i) {
    MoveTo({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
  }
  Send({Mouse(up)});
}

std::vector<WPARAM> ReceivedOf(UINT message) {
  std::vector<WPARAM> values;
  for (const Received& r : received) {
    if (r.message == message) values.push_back(r.wParam);
  }
  return values;
}

HWND Create(const wchar_t* cls, const wchar_t* title, DWORD style, RECT r, HWND parent) {
  return CreateWindowExW(0, cls, title, style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

std::wstring ExeDir() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path, n);
  return dir.substr(0, dir.find_last_of(L'\\') + 1);
}

// The windows and libraries, made once for every test: each Wine window costs time.
HWND receiver, frame, page, other, edit;
HMODULE keyboard, mouse;
HookFunction hookKey, unHookKey, hookMouse, unHookMouse;

class Desktop : public ::testing::Environment {
 public:
  void SetUp() override {
    keyMessage = RegisterWindowMessageW(kKeyHookMessage);
    strokeMessage = RegisterWindowMessageW(kMouseHookMessage1);
    zoneMessage = RegisterWindowMessageW(kMouseHookMessage3);
    floatKeyMessage = RegisterWindowMessageW(kFloatMessageKey);
    floatMouseMessage = RegisterWindowMessageW(kFloatMessageMouse);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const auto& [name, proc] : {std::pair{kMainWindowClass, &ReceiverProc},
                                     std::pair{L"Internet Explorer_Server", &RecordingProc},
                                     std::pair{L"PaginorTestFrame", &RecordingProc}}) {
      WNDCLASSW wc{};
      wc.lpfnWndProc = proc;
      wc.hInstance = instance;
      wc.lpszClassName = name;
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      RegisterClassW(&wc);
    }
    receiver = Create(kMainWindowClass, L"", WS_OVERLAPPED, {0, 0, 10, 10}, nullptr);
    frame = Create(L"PaginorTestFrame", L"browser", WS_POPUP | WS_VISIBLE, {100, 100, 900, 700},
                   nullptr);
    page = Create(L"Internet Explorer_Server", L"", WS_CHILD | WS_VISIBLE, {0, 0, 800, 600}, frame);
    other = Create(L"PaginorTestFrame", L"page frame", WS_POPUP | WS_VISIBLE,
                   {950, 100, 1250, 400}, nullptr);
    edit = Create(L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, {10, 10, 280, 40}, other);

    const std::wstring dir = ExeDir();
    keyboard = LoadLibraryW((dir + kKeyboardLibrary).c_str());
    mouse = LoadLibraryW((dir + kMouseLibrary).c_str());
    if (keyboard && mouse) {
      hookKey = BindHook(keyboard, kHookKeyExport);
      unHookKey = BindHook(keyboard, kUnHookKeyExport);
      hookMouse = BindHook(mouse, kHookMouseExport);
      unHookMouse = BindHook(mouse, kUnHookMouseExport);
    }
  }

  void TearDown() override {
    if (unHookKey) unHookKey();
    if (unHookMouse) unHookMouse();
    DestroyWindow(frame);
    DestroyWindow(other);
    DestroyWindow(receiver);
  }
};

::testing::Environment* const desktop = ::testing::AddGlobalTestEnvironment(new Desktop);

class HooksUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(receiver && frame && page && other && edit);
    ASSERT_TRUE(hookKey && unHookKey && hookMouse && unHookMouse) << "the DLLs or their exports";
    received.clear();
    pageMessages.clear();
    otherMessages.clear();
  }

  static void FocusPage() {
    SetForegroundWindow(frame);
    SetFocus(page);
    Pump(50);
    ASSERT_EQ(GetForegroundWindow(), frame);
    ASSERT_EQ(GetFocus(), page);
  }

  static POINT PagePoint(double fx, double fy) {
    RECT r;
    GetClientRect(page, &r);
    MapWindowPoints(page, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return {r.left + static_cast<LONG>((r.right - r.left) * fx),
            r.top + static_cast<LONG>((r.bottom - r.top) * fy)};
  }

  // Everything before a sentinel key has been through the hook once the sentinel arrives.
  static std::vector<WPARAM> KeysUpToSentinel() {
    FocusPage();
    Tap('Z');
    EXPECT_TRUE(PumpUntil([] {
      const auto keys = ReceivedOf(keyMessage);
      return !keys.empty() && keys.back() == 'Z';
    })) << "the sentinel key never arrived";
    Pump(100);
    auto keys = ReceivedOf(keyMessage);
    if (!keys.empty() && keys.back() == 'Z') keys.pop_back();
    return keys;
  }

};

TEST_F(HooksUnderWine, HooksInstallAndUninstallCleanly) {
  FocusPage();
  EXPECT_TRUE(hookKey());
  EXPECT_TRUE(hookKey()) << "a second install changes nothing";
  Tap('X');
  ASSERT_TRUE(PumpUntil([] { return !received.empty(); }));
  EXPECT_EQ(ReceivedOf(keyMessage), std::vector<WPARAM>{'X'}) << "reported once, not twice";

  EXPECT_TRUE(unHookKey());
  EXPECT_TRUE(unHookKey()) << "a second removal is harmless";
  received.clear();
  pageMessages.clear();
  Tap('X');
  ASSERT_TRUE(PumpUntil([] { return !pageMessages.empty(); })) << "the page gets the key";
  Pump(300);
  EXPECT_TRUE(received.empty()) << "nothing reported after UnHookKey";

  EXPECT_TRUE(hookMouse());
  EXPECT_TRUE(unHookMouse());
  Drag(PagePoint(0.5, 0.5), PagePoint(0.2, 0.5), 12, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(PumpUntil([] { return pageMessages.size() >= 3; }))
      << "without the hook the page gets the right button";
  Pump(200);
  EXPECT_TRUE(ReceivedOf(strokeMessage).empty());

  ASSERT_TRUE(hookKey());
  ASSERT_TRUE(hookMouse());
}

TEST_F(HooksUnderWine, KeysTypedOnThePageReachTheMainWindow) {
  FocusPage();
  for (const WORD vk : {WORD{'S'}, WORD{'1'}, WORD{'2'}, WORD{VK_RETURN}}) Tap(vk);
  ASSERT_TRUE(PumpUntil([] { return ReceivedOf(keyMessage).size() >= 4; }));
  EXPECT_EQ(ReceivedOf(keyMessage), (std::vector<WPARAM>{'S', '1', '2', 13}));
  Pump(100);
  EXPECT_EQ(received.size(), 4u);
}

TEST_F(HooksUnderWine, KeysThatMustNotTurnPages) {
  FocusPage();
  Send({Key(VK_CONTROL, true), Key('X', true), Key('X', false), Key(VK_CONTROL, false)});
  Send({Key(VK_LMENU, true), Key('X', true), Key('X', false), Key(VK_LMENU, false)});
  Tap(VK_F4);
  Tap(VK_NUMPAD1);
  INPUT keypadEnter[2] = {Key(VK_RETURN, true), Key(VK_RETURN, false)};
  for (INPUT& in : keypadEnter) in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  Send({keypadEnter[0], keypadEnter[1]});
  Tap(VK_SPACE);
  INPUT own[2] = {Key('X', true), Key('X', false)};  // the program's keys to a browser
  for (INPUT& in : own) in.ki.dwExtraInfo = kReplayMark;
  Send({own[0], own[1]});
  // Held down: the first press counts, the auto-repeats do not.
  Send({Key('S', true), Key('S', true), Key('S', true), Key('S', false)});
  EXPECT_EQ(KeysUpToSentinel(), std::vector<WPARAM>{'S'});
  for (const UINT m : pageMessages) EXPECT_EQ(m, UINT{WM_KEYDOWN});
  EXPECT_GE(pageMessages.size(), 9u) << "the page still gets every key";
}

TEST_F(HooksUnderWine, TypingOutsideThePageOrIntoAFieldNeverTurnsPages) {
  SetForegroundWindow(other);
  SetFocus(edit);
  Pump(50);
  ASSERT_EQ(GetFocus(), edit);
  Tap('X');
  ASSERT_TRUE(PumpUntil([] { return GetWindowTextLengthW(edit) > 0; })) << "the edit gets it";

  // A text box of the page has the focus: the engine keeps a caret in the page window.
  FocusPage();
  ASSERT_TRUE(CreateCaret(page, nullptr, 2, 16));
  ShowCaret(page);
  Tap('X');
  Tap('1');
  ASSERT_TRUE(PumpUntil([] { return pageMessages.size() >= 2; }));
  Pump(200);
  DestroyCaret();
  EXPECT_TRUE(KeysUpToSentinel().empty());
}

// The browsers keep each tab's page in a process of its own, a child of the frame window
// of another: the focus and the caret belong to the page's thread, not to the thread of
// the foreground window. The nearest Wine gets: the page on a thread of its own.
class PageThread {
 public:
  static constexpr UINT kFocus = WM_APP + 1, kCaret = WM_APP + 2, kNoCaret = WM_APP + 3;

  explicit PageThread(HWND parent) : parent_(parent) {
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &PageThread::Run, this, 0, nullptr);
    // Pumping: creating and destroying a child sends to its parent's thread, this one.
    PumpUntil([this] { return WaitForSingleObject(ready_, 0) == WAIT_OBJECT_0; });
  }
  ~PageThread() {
    if (page) PostMessageW(page, WM_CLOSE, 0, 0);
    PumpUntil([this] { return WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0; });
    CloseHandle(thread_);
    CloseHandle(ready_);
  }
  PageThread(const PageThread&) = delete;
  PageThread& operator=(const PageThread&) = delete;

  // Runs on the page's own thread, as the engine would.
  void Do(UINT what) { SendMessageW(page, what, 0, 0); }

  HWND page = nullptr;

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
      case kFocus:
        SetFocus(w);
        return GetFocus() == w;
      case kCaret:
        CreateCaret(w, nullptr, 2, 16);
        return ShowCaret(w);
      case kNoCaret:
        return DestroyCaret();
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
      default:
        return RecordingProc(w, m, wp, lp);
    }
  }
  static DWORD WINAPI Run(void* arg) {
    auto* self = static_cast<PageThread*>(arg);
    self->page = CreateWindowExW(0, L"Internet Explorer_Server", L"", WS_CHILD | WS_VISIBLE, 0, 0,
                                 800, 600, self->parent_, nullptr, GetModuleHandleW(nullptr),
                                 nullptr);
    if (self->page) SetWindowLongPtrW(self->page, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
    SetEvent(self->ready_);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
  }

  HWND parent_;
  HANDLE ready_ = nullptr;
  HANDLE thread_ = nullptr;
};

TEST_F(HooksUnderWine, APageOnAnotherThreadThanItsFrameIsFoundByItsFocusAndCaret) {
  const HWND tabFrame = Create(L"PaginorTestFrame", L"tab frame", WS_POPUP | WS_VISIBLE,
                               {100, 100, 900, 700}, nullptr);
  ASSERT_TRUE(tabFrame);
  {
    PageThread tab(tabFrame);
    ASSERT_TRUE(tab.page);
    SetForegroundWindow(tabFrame);
    Pump(50);
    tab.Do(PageThread::kFocus);
    Tap('X');
    ASSERT_TRUE(PumpUntil([] { return !ReceivedOf(keyMessage).empty(); }))
        << "a key on the page of another thread";
    EXPECT_EQ(ReceivedOf(keyMessage), std::vector<WPARAM>{'X'});

    received.clear();
    tab.Do(PageThread::kCaret);
    Tap('X');
    ASSERT_TRUE(PumpUntil([] { return !pageMessages.empty(); }));
    Pump(200);
    tab.Do(PageThread::kNoCaret);
    Tap('S');
    ASSERT_TRUE(PumpUntil([] { return !ReceivedOf(keyMessage).empty(); }));
    EXPECT_EQ(ReceivedOf(keyMessage), std::vector<WPARAM>{'S'}) << "nothing while the caret showed";
  }
  DestroyWindow(tabFrame);
}

TEST_F(HooksUnderWine, RightButtonStrokeIsReportedAndHiddenFromThePage) {
  const POINT from = PagePoint(0.6, 0.5), to = PagePoint(0.3, 0.5);
  Drag(from, to, 20, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(PumpUntil([] {
    const auto events = ReceivedOf(strokeMessage);
    return !events.empty() && events.back() == kStrokeEnd;
  }));
  const auto events = ReceivedOf(strokeMessage);
  ASSERT_GE(events.size(), 10u);
  EXPECT_EQ(events.front(), kStrokeStart);
  for (std::size_t i = 1; i + 1 < events.size(); ++i) EXPECT_EQ(events[i], kStrokeMove);
  std::vector<Received> strokes;
  for (const Received& r : received) {
    if (r.message == strokeMessage) strokes.push_back(r);
  }
  EXPECT_EQ(strokes.front().lParam, PackStrokePoint(from.x, from.y));
  EXPECT_EQ(strokes.back().lParam, PackStrokePoint(to.x, to.y));
  // x falls along the stroke, as the receiver's classifier needs.
  for (std::size_t i = 2; i + 1 < strokes.size(); ++i) {
    EXPECT_LT(strokes[i].lParam & 0xFFFF, strokes[i - 1].lParam & 0xFFFF);
  }
  Pump(200);
  EXPECT_TRUE(pageMessages.empty()) << "no right button, no context menu";
}

TEST_F(HooksUnderWine, PlainRightClickStillReachesThePage) {
  Click(PagePoint(0.5, 0.5), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(PumpUntil([] { return pageMessages.size() >= 3; })) << "the replayed click";
  EXPECT_EQ(pageMessages, (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU}));
  // Off the page the button is neither held back nor reported, stroke or not.
  RECT r;
  GetWindowRect(other, &r);
  Drag({r.left + 30, r.bottom - 30}, {r.left + 200, r.bottom - 30}, 10, MOUSEEVENTF_RIGHTDOWN,
       MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(PumpUntil([] { return otherMessages.size() >= 2; }));
  EXPECT_EQ(otherMessages[0], UINT{WM_RBUTTONDOWN});
  Pump(200);
  EXPECT_TRUE(ReceivedOf(strokeMessage).empty());
}

TEST_F(HooksUnderWine, DoubleClicksReportTheirZone) {
  const auto doubleClick = [](POINT p) {
    MoveTo(p);
    Send({Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP), Mouse(MOUSEEVENTF_LEFTDOWN),
          Mouse(MOUSEEVENTF_LEFTUP)});
  };
  doubleClick(PagePoint(0.95, 0.1));
  RECT r;
  GetWindowRect(other, &r);
  doubleClick({r.left + 30, r.bottom - 30});  // not a page: never reported
  doubleClick(PagePoint(0.5, 0.5));
  doubleClick(PagePoint(0.9, 0.5));
  doubleClick(PagePoint(0.85, 0.9));
  Click(PagePoint(0.9, 0.1), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);  // a single click
  Pump(700);
  Click(PagePoint(0.9, 0.1), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);  // too late to pair
  ASSERT_TRUE(PumpUntil([] { return ReceivedOf(zoneMessage).size() >= 4; }));
  Pump(300);
  EXPECT_EQ(ReceivedOf(zoneMessage), (std::vector<WPARAM>{0, 3, 1, 2}));
}

std::vector<Received> ReceivedAll(UINT message) {
  std::vector<Received> all;
  for (const Received& r : received) {
    if (r.message == message) all.push_back(r);
  }
  return all;
}

// Chromium's windows and Firefox's count only once the main window names the modern
// kind; a key there is handed over with its focused window for the main program to ask
// the browser's focused object, and never confirmed by the hook itself.
TEST_F(HooksUnderWine, ChromiumAndFirefoxWindowsArePagesOnlyForTheModernKind) {
  const auto setKeyKind = reinterpret_cast<BOOL(WINAPI*)(int)>(
      reinterpret_cast<void (*)()>(GetProcAddress(keyboard, kSetPageKindExport)));
  const auto setMouseKind = reinterpret_cast<BOOL(WINAPI*)(int)>(
      reinterpret_cast<void (*)()>(GetProcAddress(mouse, kSetPageKindExport)));
  ASSERT_TRUE(setKeyKind && setMouseKind);
  for (const wchar_t* name : {L"Chrome_WidgetWin_1", L"Chrome_RenderWidgetHostHWND", L"MozillaWindowClass"}) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &RecordingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = name;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
  }
  const HWND chrome = Create(L"Chrome_WidgetWin_1", L"chrome", WS_POPUP | WS_VISIBLE, {100, 100, 900, 700}, nullptr);
  const HWND widget = Create(L"Chrome_RenderWidgetHostHWND", L"", WS_CHILD | WS_VISIBLE, {0, 100, 800, 600}, chrome);
  ASSERT_TRUE(chrome && widget);
  const auto keyIn = [](HWND top, HWND focus) {
    received.clear();
    SetForegroundWindow(top);
    SetFocus(focus);
    Pump(50);
    Tap('X');
    Tap(VK_F4);  // the sentinel: never reported, so wait for the page to get it
    PumpUntil([] {
      return std::count(otherMessages.begin(), otherMessages.end(), UINT{WM_KEYDOWN}) +
                 std::count(pageMessages.begin(), pageMessages.end(), UINT{WM_KEYDOWN}) >= 2;
    });
    otherMessages.clear();
    pageMessages.clear();
    Pump(200);
    return ReceivedAll(keyMessage);
  };

  EXPECT_TRUE(keyIn(chrome, chrome).empty()) << "the IE kinds ignore Chromium";
  const POINT inWidget{400, 500};
  Drag(inWidget, {150, 500}, 12, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  PumpUntil([] { return otherMessages.size() >= 2; });
  Pump(200);
  EXPECT_TRUE(ReceivedOf(strokeMessage).empty());

  ASSERT_TRUE(setKeyKind(static_cast<int>(PageKind::Modern)));
  ASSERT_TRUE(setMouseKind(static_cast<int>(PageKind::Modern)));
  EXPECT_FALSE(setKeyKind(7)) << "an unknown kind is refused";
  auto keys = keyIn(chrome, chrome);
  ASSERT_EQ(keys.size(), 1u) << "focus on Chromium's top-level window";
  EXPECT_EQ(keys[0].wParam, WPARAM{'X'});
  EXPECT_EQ(keys[0].lParam, reinterpret_cast<LPARAM>(chrome)) << "handed over for the focus check";
  keys = keyIn(chrome, widget);
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].lParam, reinterpret_cast<LPARAM>(widget));
  keys = keyIn(frame, page);  // Edge's IE mode shows its page through IE's page window
  EXPECT_EQ(keys.size() == 1 ? keys[0].lParam : 0, reinterpret_cast<LPARAM>(page));

  // The IE stand-in came to the front over the same place: Chromium's goes back on top.
  SetWindowPos(chrome, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(chrome);
  Pump(100);
  ASSERT_EQ(WindowFromPoint(inWidget), widget);
  received.clear();
  otherMessages.clear();
  Drag(inWidget, {150, 500}, 12, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  EXPECT_TRUE(PumpUntil([] {
    const auto events = ReceivedOf(strokeMessage);
    return !events.empty() && events.back() == kStrokeEnd;
  })) << "a stroke over Chromium's render widget";
  // The zones are the render widget's: its lower right is 900 - 20, 700 - 20 on screen.
  const auto doubleClick = [](POINT p) {
    MoveTo(p);
    Send({Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP), Mouse(MOUSEEVENTF_LEFTDOWN),
          Mouse(MOUSEEVENTF_LEFTUP)});
    Pump(700);
  };
  doubleClick({880, 680});
  doubleClick({880, 150});  // Chromium's toolbar above the widget: no page
  PumpUntil([] { return !ReceivedOf(zoneMessage).empty(); });
  EXPECT_EQ(ReceivedOf(zoneMessage), (std::vector<WPARAM>{2}));
  DestroyWindow(chrome);

  // Firefox draws its page in its top-level window: the zones are cut from its client area.
  const HWND firefox = Create(L"MozillaWindowClass", L"firefox", WS_POPUP | WS_VISIBLE, {100, 100, 900, 700}, nullptr);
  ASSERT_TRUE(firefox);
  keys = keyIn(firefox, firefox);
  SetWindowPos(firefox, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Pump(100);
  ASSERT_EQ(WindowFromPoint({880, 120}), firefox);
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].lParam, reinterpret_cast<LPARAM>(firefox));
  doubleClick({880, 120});
  PumpUntil([] { return !ReceivedOf(zoneMessage).empty(); });
  EXPECT_EQ(ReceivedOf(zoneMessage), (std::vector<WPARAM>{0}));

  ASSERT_TRUE(setKeyKind(static_cast<int>(PageKind::IeEngine)));
  ASSERT_TRUE(setMouseKind(static_cast<int>(PageKind::IeEngine)));
  EXPECT_TRUE(keyIn(firefox, firefox).empty()) << "back to the IE kinds";
  DestroyWindow(firefox);
}

// The floating box, started as the main window starts it, clicked and typed on by input.
class FloatingBox : public HooksUnderWine {
 protected:
  void SetUp() override {
    HooksUnderWine::SetUp();
    const std::wstring dir = ExeDir();
    const std::wstring ini = dir + L"tpnav.ini", place = dir + L"hoverpad.ini";
    DeleteFileW(ini.c_str());
    ASSERT_TRUE(WritePrivateProfileStringW(L"键盘", L"下页", L"n", ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(L"键盘", L"首页", L"", ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(L"悬浮框", L"左", L"300", place.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(L"悬浮框", L"上", L"520", place.c_str()));
    std::wstring command = L"\"" + dir + kFloatingBoxProgram + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               dir.c_str(), &si, &process));
    ASSERT_TRUE(PumpUntil([this] { return (box = FindWindowW(L"THoverpadForm", nullptr)) != nullptr; },
                          20000));
    ASSERT_TRUE(PumpUntil([this] { return IsWindowVisible(box) != FALSE; }));
    layout = LayoutBox(static_cast<unsigned>(Dpi()));
  }

  void TearDown() override {
    if (process.hProcess) {
      if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 1);
      }
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
    }
  }

  static int Dpi() {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi;
  }

  POINT At(const Rect& r, double fx = 0.5, double fy = 0.5) const {
    POINT p{r.left + static_cast<LONG>((r.right - r.left) * fx),
            r.top + static_cast<LONG>((r.bottom - r.top) * fy)};
    ClientToScreen(box, &p);
    return p;
  }

  void ClickButton(std::size_t i) {
    Click(At(layout.buttons[i]), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    Pump(50);  // presses on one button in a row must not pair up as double clicks anywhere
  }

  std::wstring Title() const {
    wchar_t text[128] = L"";
    GetWindowTextW(box, text, 128);
    return text;
  }

  PROCESS_INFORMATION process{};
  HWND box = nullptr;
  BoxLayout layout;
};

TEST_F(FloatingBox, ButtonsPageNumberAndStrokesReachTheMainWindow) {
  RECT r;
  GetWindowRect(box, &r);
  EXPECT_EQ(r.left, 300) << "the saved place";
  EXPECT_EQ(r.top, 520);
  EXPECT_NE(Title().find(L"主程序已运行"), std::wstring::npos);
  EXPECT_TRUE(GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST);

  FocusPage();
  ClickButton(1);  // 下页, set to "n"
  ClickButton(0);  // 上页, the default "s"
  ClickButton(2);  // 首页, set to nothing: posts nothing
  ClickButton(5);  // 前进, the default "q"
  ASSERT_TRUE(PumpUntil([] { return ReceivedOf(floatKeyMessage).size() >= 3; }));
  Pump(200);
  EXPECT_EQ(ReceivedOf(floatKeyMessage), (std::vector<WPARAM>{'N', 'S', 'Q'}));
  EXPECT_EQ(GetForegroundWindow(), frame) << "clicking the box keeps the browser in front";
  EXPECT_EQ(GetFocus(), page);
  EXPECT_TRUE(ReceivedOf(keyMessage).empty()) << "nothing reaches the keyboard hook twice";

  received.clear();
  Click(At(layout.pageEdit), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([this] { return GetForegroundWindow() == box; }))
      << "the page-number field takes the keyboard";
  for (const WORD vk : {WORD{'1'}, WORD{'2'}, WORD{VK_RETURN}}) Tap(vk);
  ASSERT_TRUE(PumpUntil([] { return ReceivedOf(floatKeyMessage).size() >= 3; }));
  EXPECT_EQ(ReceivedOf(floatKeyMessage), (std::vector<WPARAM>{'1', '2', 13}));
  EXPECT_TRUE(PumpUntil([] { return GetForegroundWindow() == frame; }))
      << "Enter hands the keyboard back to the browser";
  EXPECT_TRUE(ReceivedOf(keyMessage).empty()) << "typing into the box is no page typing";

  received.clear();
  Drag(At(layout.pad, 0.8, 0.5), At(layout.pad, 0.2, 0.55), 10, MOUSEEVENTF_LEFTDOWN,
       MOUSEEVENTF_LEFTUP);
  Pump(600);
  Drag(At(layout.pad, 0.5, 0.1), At(layout.pad, 0.52, 0.9), 10, MOUSEEVENTF_LEFTDOWN,
       MOUSEEVENTF_LEFTUP);
  Pump(600);
  Drag(At(layout.pad, 0.3, 0.3), At(layout.pad, 0.6, 0.8), 10, MOUSEEVENTF_LEFTDOWN,
       MOUSEEVENTF_LEFTUP);  // diagonal: no gesture
  ASSERT_TRUE(PumpUntil([] { return ReceivedOf(floatMouseMessage).size() >= 2; }));
  Pump(200);
  EXPECT_EQ(ReceivedOf(floatMouseMessage),
            (std::vector<WPARAM>{static_cast<WPARAM>(FloatGesture::Left),
                                 static_cast<WPARAM>(FloatGesture::Down)}));
  EXPECT_TRUE(ReceivedOf(strokeMessage).empty() && ReceivedOf(zoneMessage).empty());
}

TEST_F(FloatingBox, ShowsWhetherTheMainProgramRunsAndKeepsItsPlace) {
  DestroyWindow(receiver);
  EXPECT_TRUE(PumpUntil([this] { return Title().find(L"主程序未运行") != std::wstring::npos; }));
  ClickButton(0);  // nobody to post to: nothing breaks
  receiver = Create(kMainWindowClass, L"", WS_OVERLAPPED, {0, 0, 10, 10}, nullptr);
  EXPECT_TRUE(PumpUntil([this] { return Title().find(L"主程序已运行") != std::wstring::npos; }));

  // Dragged by its status line 40 pixels right and 30 up.
  FocusPage();
  // At a hand's pace: input is routed to a window when it is queued, so moves sent before
  // the box has taken the capture would go to whatever lies under the pointer.
  const POINT grip = At(layout.status, 0.3);
  MoveTo(grip);
  Send({Mouse(MOUSEEVENTF_LEFTDOWN)});
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD boxThread = GetWindowThreadProcessId(box, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return GetGUIThreadInfo(boxThread, &info) && info.hwndCapture == box; }));
  for (int i = 1; i <= 8; ++i) {
    MoveTo({grip.x + 5 * i, grip.y - 30 * i / 8});
    Pump(10);
  }
  Send({Mouse(MOUSEEVENTF_LEFTUP)});
  RECT r;
  EXPECT_TRUE(PumpUntil([&] { return GetWindowRect(box, &r) && r.left == 340 && r.top == 490; }))
      << "at " << r.left << "," << r.top;
  EXPECT_EQ(GetForegroundWindow(), frame) << "dragging the box leaves the browser in front";

  PostMessageW(box, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
  const std::wstring place = ExeDir() + L"hoverpad.ini";
  EXPECT_EQ(GetPrivateProfileIntW(L"悬浮框", L"左", -1, place.c_str()), 340);
  EXPECT_EQ(GetPrivateProfileIntW(L"悬浮框", L"上", -1, place.c_str()), 490);
}

}  // namespace
}  // namespace paginor::hooks
