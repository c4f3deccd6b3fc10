// hkboard.dll: reports key presses typed on a browser page to the main window.

#include <windows.h>

#include "hooks/key_filter.h"
#include "hooks/keyHookCommon.h"
#include "hooks/win32/hook_exports.h"
#include "hooks/win32/hook_thread.h"

namespace paginor::hooks {
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

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto& k = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    const bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
    const KeyEvent e{k.vkCode, down, k.time, (k.flags & LLKHF_ALTDOWN) != 0};
    if (filter.OnKey(e, modifiers)) thread.Post(kCandidateKey, k.vkCode, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Prepare() {
  keyMessage = RegisterWindowMessageW(kKeyHookMessage);
  filter = KeyFilter{};
}

// After the callback: where the key went, by the focus and caret of the foreground thread.
void HandleCandidate(UINT, WPARAM vk, LPARAM) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(0, &info)) return;
  const ClassName focusClass = ClassOf(info.hwndFocus);
  const FocusSnapshot focus{{focusClass.buf, static_cast<std::size_t>(focusClass.length)},
                            info.hwndCaret != nullptr && info.hwndCaret == info.hwndFocus};
  if (KeyGoesToPage(focus)) PostToMainWindow(keyMessage, vk, 0);
}

}  // namespace
}  // namespace paginor::hooks

extern "C" BOOL WINAPI HookKey() {
  using namespace paginor::hooks;
  return thread.Start(WH_KEYBOARD_LL, &KeyboardProc, &Prepare, &HandleCandidate);
}

extern "C" BOOL WINAPI UnHookKey() { return paginor::hooks::thread.Stop(); }
