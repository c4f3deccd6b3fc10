// hkboard.dll: the keyboard hook, as the main window binds it.

#include "hooks/win32/hook_exports.h"
#include "hooks/win32/hook_thread.h"
#include "hooks/win32/keyboard_hook.h"

extern "C" BOOL WINAPI HookKey() { return paginor::hooks::keyboard::Start(); }

extern "C" BOOL WINAPI UnHookKey() { return paginor::hooks::keyboard::Stop(); }

extern "C" BOOL WINAPI SetPageKind(int kind) { return paginor::hooks::StorePageKind(kind); }
