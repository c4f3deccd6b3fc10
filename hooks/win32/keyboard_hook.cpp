// The keyboard hook: reports key presses typed on a browser page to the main window.

#include "hooks/win32/keyboard_hook.h"

#include "hooks/key_filter.h"
#include "hooks/MouseHookCommon.h"
#include "hooks/keyHookCommon.h"
#include "hooks/win32/hook_thread.h"

namespace paginor::hooks::keyboard {
namespace {

constexpr UINT kCandidateKey = kWorkMessage;

class SystemModifiers : public ModifierProbe {
 public:
  bool IsDown(unsigned vk) override {
    return (GetAsyncKeyState(static_cast<int>(vk)) & 0x8000) != 0;
  }
};

// Touched only on the hook thread.
HookThread thread;
KeyFilter filter;
SystemModifiers modifiers;
UINT keyMessage = 0;

}  // namespace

void OnKeyEvent(WPARAM message, const KBDLLHOOKSTRUCT& k) {
  if (k.dwExtraInfo == kReplayMark) return;
  const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  const KeyEvent e{k.vkCode, down, k.time, (k.flags & LLKHF_ALTDOWN) != 0,
                   (k.flags & LLKHF_EXTENDED) != 0};
  if (filter.OnKey(e, modifiers)) thread.Post(kCandidateKey, k.vkCode, 0);
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) OnKeyEvent(wParam, *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

namespace {

void Prepare() {
  keyMessage = RegisterWindowMessageW(kKeyHookMessage);
  filter = KeyFilter{};
}

// After the callback: where the key went, by the focus and caret of the foreground thread.
// A key in Chromium or Firefox carries the focused window, whose accessible object the
// main program asks: this thread must never wait on a browser.
void HandleCandidate(UINT, WPARAM vk, LPARAM) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(0, &info)) return;
  const ClassName focusClass = ClassOf(info.hwndFocus);
  const FocusSnapshot focus{{focusClass.buf, static_cast<std::size_t>(focusClass.length)},
                            info.hwndCaret != nullptr && info.hwndCaret == info.hwndFocus};
  switch (RouteKey(focus, CurrentPageKind())) {
    case KeyRoute::Page:
      PostToMainWindow(keyMessage, vk, 0);
      break;
    case KeyRoute::AskFocusedObject:
      PostToMainWindow(keyMessage, vk, reinterpret_cast<LPARAM>(info.hwndFocus));
      break;
    case KeyRoute::NotPage:
      break;
  }
}

}  // namespace

bool Start() { return thread.Start(WH_KEYBOARD_LL, &KeyboardProc, &Prepare, &HandleCandidate); }

bool Stop() { return thread.Stop(); }

}  // namespace paginor::hooks::keyboard
