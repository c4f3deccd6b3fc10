#pragma once
// What the keyboard hook library and the main window agree on. No handle is passed:
// every component finds the main window by its class.

namespace paginor::hooks {

inline constexpr wchar_t kMainWindowClass[] = L"TKRVMessageForm";

// Registered message: wParam is the virtual-key code of one key press. lParam is 0 when
// the sender saw the key go to a page; otherwise it is the focused window (an IE-engine
// page, or a window of Chromium or Firefox), and the key is a command only once that
// page's active element, or that browser's focused object, is found to take no typing.
inline constexpr wchar_t kKeyHookMessage[] = L"KRVkeyHookMessage";

inline constexpr wchar_t kKeyboardLibrary[] = L"hkboard.dll";
inline constexpr char kHookKeyExport[] = "HookKey";
inline constexpr char kUnHookKeyExport[] = "UnHookKey";

// Which windows are browser pages, told to both hook libraries by an export of this name
// (one int argument: a PageKind) at start and whenever the browser choice changes.
inline constexpr char kSetPageKindExport[] = "SetPageKind";

enum class PageKind : int { IeEngine = 0, Modern = 1 };

// The item of the browser choice that names Chrome, Edge and Firefox.
inline constexpr int kModernBrowserChoice = 6;

constexpr PageKind PageKindForChoice(int choice) {
  return choice == kModernBrowserChoice ? PageKind::Modern : PageKind::IeEngine;
}

inline constexpr unsigned kVkEnter = 13;
inline constexpr unsigned kVkDigit0 = 48;
inline constexpr unsigned kVkDigit9 = 57;
inline constexpr unsigned kVkLetterA = 65;
inline constexpr unsigned kVkLetterZ = 90;

}  // namespace paginor::hooks
