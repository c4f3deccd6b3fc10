// hkpoint.dll: the mouse hook, as the main window binds it.

#include "hooks/win32/hook_exports.h"
#include "hooks/win32/hook_thread.h"
#include "hooks/win32/mouse_hook.h"

extern "C" BOOL WINAPI HookMouse() { return paginor::hooks::mouse::Start(); }

extern "C" BOOL WINAPI UnHookMouse() { return paginor::hooks::mouse::Stop(); }

extern "C" BOOL WINAPI SetPageKind(int kind) { return paginor::hooks::StorePageKind(kind); }
