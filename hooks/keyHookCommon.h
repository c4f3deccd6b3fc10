#pragma once
// What the keyboard hook library and the main window agree on. No handle is passed:
// every component finds the main window by its class.

namespace paginor::hooks {

inline constexpr wchar_t kMainWindowClass[] = L"TKRVMessageForm";

// Registered message: wParam is the virtual-key code of one key press.
inline constexpr wchar_t kKeyHookMessage[] = L"KRVkeyHookMessage";

inline constexpr wchar_t kKeyboardLibrary[] = L"hkboard.dll";
inline constexpr char kHookKeyExport[] = "HookKey";
inline constexpr char kUnHookKeyExport[] = "UnHookKey";

inline constexpr unsigned kVkEnter = 13;
inline constexpr unsigned kVkDigit0 = 48;
inline constexpr unsigned kVkDigit9 = 57;
inline constexpr unsigned kVkLetterA = 65;
inline constexpr unsigned kVkLetterZ = 90;

}  // namespace paginor::hooks
