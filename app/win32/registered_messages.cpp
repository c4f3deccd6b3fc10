#include "app/win32/registered_messages.h"

#include "hooks/MouseHookCommon.h"
#include "hooks/floatCommon.h"
#include "hooks/keyHookCommon.h"

namespace paginor::app::win32 {

RegisteredMessages RegisteredMessages::Register() {
  RegisteredMessages m;
  m.keyHook = RegisterWindowMessageW(hooks::kKeyHookMessage);
  m.mouseHook1 = RegisterWindowMessageW(hooks::kMouseHookMessage1);
  m.mouseHook2 = RegisterWindowMessageW(hooks::kMouseHookMessage2);
  m.mouseHook3 = RegisterWindowMessageW(hooks::kMouseHookMessage3);
  m.floatKey = RegisterWindowMessageW(hooks::kFloatMessageKey);
  m.floatMouse = RegisterWindowMessageW(hooks::kFloatMessageMouse);
  return m;
}

bool RegisteredMessages::Contains(UINT message) const {
  // A failed registration gives 0, which is no message at all.
  if (message == 0) return false;
  return message == keyHook || message == mouseHook1 || message == mouseHook2 || message == mouseHook3 ||
         message == floatKey || message == floatMouse;
}

}  // namespace paginor::app::win32
