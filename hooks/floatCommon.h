#pragma once
// What the floating box and the main window agree on.

namespace paginor::hooks {

// wParam: a virtual-key code, as with the keyboard hook.
inline constexpr wchar_t kFloatMessageKey[] = L"KRVFloatMessageKey";
// wParam: FloatGesture.
inline constexpr wchar_t kFloatMessageMouse[] = L"KRVFloatMessageMouse";

enum class FloatGesture : unsigned { None = 0, Left = 1, Right = 2, Up = 3, Down = 4 };

inline constexpr wchar_t kFloatingBoxProgram[] = L"hoverpad.exe";

}  // namespace paginor::hooks
