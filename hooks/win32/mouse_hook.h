#pragma once
// The mouse hook behind hkpoint.dll, apart from its exports so that the benchmark can
// drive the callback itself.

#include <windows.h>

namespace paginor::hooks::mouse {

// Installs the hook on its own thread; true once it is in place (or already was).
bool Start();
// Removes it and ends the thread.
bool Stop();

// What the callback does besides passing the event on: the decision, and posts to the
// hook thread. True when the event is swallowed.
bool OnMouseEvent(WPARAM message, const MSLLHOOKSTRUCT& m);

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam);

}  // namespace paginor::hooks::mouse
