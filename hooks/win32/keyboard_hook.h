#pragma once
// The keyboard hook behind hkboard.dll, apart from its exports so that the benchmark can
// drive the callback itself.

#include <windows.h>

namespace paginor::hooks::keyboard {

// Installs the hook on its own thread; true once it is in place (or already was).
bool Start();
// Removes it and ends the thread.
bool Stop();

// What the callback does besides passing the event on: the decision, and a post to the
// hook thread when the key may be reported.
void OnKeyEvent(WPARAM message, const KBDLLHOOKSTRUCT& k);

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam);

}  // namespace paginor::hooks::keyboard
