#pragma once
// The functions the main window binds by name when it starts. The four that start and
// stop the hooks take no arguments; SetPageKind takes one int, and the main window binds
// it with this very type, so the 32-bit __stdcall stack stays balanced. The .def files
// keep the exported names plain in the 32-bit build.

#include <windows.h>

#include "hooks/keyHookCommon.h"

extern "C" {
BOOL WINAPI HookKey();
BOOL WINAPI UnHookKey();
BOOL WINAPI HookMouse();
BOOL WINAPI UnHookMouse();
// In both libraries: which windows are browser pages (a paginor::hooks::PageKind).
BOOL WINAPI SetPageKind(int kind);
}

namespace paginor::hooks {

using HookFunction = BOOL(WINAPI*)();

// One of the four by name; null when the library lacks it. (The detour through a
// function type without arguments is how GCC accepts a cast from FARPROC.)
inline HookFunction BindHook(HMODULE library, const char* name) {
  return reinterpret_cast<HookFunction>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

using SetPageKindFunction = BOOL(WINAPI*)(int);

inline SetPageKindFunction BindSetPageKind(HMODULE library) {
  return reinterpret_cast<SetPageKindFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(library, kSetPageKindExport)));
}

}  // namespace paginor::hooks
