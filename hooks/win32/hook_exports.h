#pragma once
// The four functions the main window binds by name when it starts. They take no
// arguments, so the 32-bit calling convention cannot unbalance the stack; the .def files
// keep their exported names plain in the 32-bit build.

#include <windows.h>

extern "C" {
BOOL WINAPI HookKey();
BOOL WINAPI UnHookKey();
BOOL WINAPI HookMouse();
BOOL WINAPI UnHookMouse();
}

namespace paginor::hooks {

using HookFunction = BOOL(WINAPI*)();

// One of the four by name; null when the library lacks it. (The detour through a
// function type without arguments is how GCC accepts a cast from FARPROC.)
inline HookFunction BindHook(HMODULE library, const char* name) {
  return reinterpret_cast<HookFunction>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

}  // namespace paginor::hooks
