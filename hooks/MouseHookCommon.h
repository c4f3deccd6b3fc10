#pragma once
// What the mouse hook library and the main window agree on.

#include <cstdint>

namespace paginor::hooks {

// wParam: kStroke*; lParam: the screen point, x in the low 16 bits, y in the high 16.
inline constexpr wchar_t kMouseHookMessage1[] = L"KRVMouseHookMessage1";
// Registered for compatibility; nothing sends or reads it.
inline constexpr wchar_t kMouseHookMessage2[] = L"KRVMouseHookMessage2";
// wParam: the zone of a double click (DoubleClickZone).
inline constexpr wchar_t kMouseHookMessage3[] = L"KRVMouseHookMessage3";

inline constexpr unsigned kStrokeMove = 512;
inline constexpr unsigned kStrokeStart = 513;
inline constexpr unsigned kStrokeEnd = 514;

enum class DoubleClickZone : unsigned { RightTop = 0, RightMiddle = 1, RightBottom = 2, Elsewhere = 3 };

// The extra information of input the program makes itself: a right click the mouse hook
// replays (it did not become a stroke), keys sent to a browser's address bar or history.
// Both hooks let input carrying it pass untouched. Other injected input counts as real.
inline constexpr std::uintptr_t kReplayMark = 0x50474E52;  // "PGNR"

inline constexpr wchar_t kMouseLibrary[] = L"hkpoint.dll";
inline constexpr char kHookMouseExport[] = "HookMouse";
inline constexpr char kUnHookMouseExport[] = "UnHookMouse";

// Both coordinates unsigned 16-bit, as the main window unpacks them.
constexpr std::intptr_t PackStrokePoint(long x, long y) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                                    static_cast<std::uint32_t>(x & 0xFFFF));
}

}  // namespace paginor::hooks
