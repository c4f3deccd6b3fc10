#include "app/win32/report_machine.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "browser/ie_engine_processes.h"
#include "browser/modern_discovery.h"
#include "browser/traced_windows.h"
#include "engine/browser_kinds.h"
#include "paginor_version.h"
#include "browser/window_system.h"
#include "browser/win32/com_util.h"


namespace paginor::app::win32 {
namespace {

using paginor::win32::Utf8;

// The frame classes the walks start from; programs come from the walks' own lists.
constexpr std::array<std::string_view, 12> kBrowserClasses = {
    "IEFrame", "Maxthon2_Frame", "360se_Frame", "360se5_Frame", "360se6_Frame", "TheWorld_Frame",
    "XFrame_Wnd", "Sandbox:360SEBox:XFrame_Wnd", "TT_WebCtrl", "Chrome_WidgetWin_1",
    "MozillaWindowClass", "Internet Explorer_Server"};
constexpr std::size_t kMaxWindows = 40;

struct Handle {
  HANDLE h = nullptr;
  ~Handle() {
    if (h) CloseHandle(h);
  }
};

bool IsOsWide64() {
  if (sizeof(void*) == 8) return true;
  BOOL wow = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow) && wow;
}

std::string ProcessBits(HANDLE process) {
  BOOL wow = FALSE;
  if (!IsWow64Process(process, &wow)) return "?";
  return (IsOsWide64() && !wow) ? "64-bit" : "32-bit";
}

std::string IntegrityName(DWORD rid) {
  if (rid >= SECURITY_MANDATORY_SYSTEM_RID) return "system";
  if (rid >= SECURITY_MANDATORY_HIGH_RID) return "high";
  if (rid >= SECURITY_MANDATORY_MEDIUM_RID) return "medium";
  if (rid >= SECURITY_MANDATORY_LOW_RID) return "low (protected mode or sandbox)";
  return "untrusted";
}

std::string Integrity(HANDLE process) {
  Handle token;
  if (!OpenProcessToken(process, TOKEN_QUERY, &token.h)) return "unreadable";
  DWORD size = 0;
  GetTokenInformation(token.h, TokenIntegrityLevel, nullptr, 0, &size);
  std::string buffer(size, '\0');
  if (size == 0 || !GetTokenInformation(token.h, TokenIntegrityLevel, buffer.data(), size, &size)) {
    return "unreadable";
  }
  const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data());
  const DWORD count = *GetSidSubAuthorityCount(label->Label.Sid);
  return count ? IntegrityName(*GetSidSubAuthority(label->Label.Sid, count - 1)) : "unreadable";
}

struct ProcessFacts {
  std::string program = "unknown";
  std::string bits = "?";
  std::string integrity = "unreadable";
};

ProcessFacts Facts(DWORD pid) {
  ProcessFacts facts;
  Handle process{OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)};
  if (!process.h) return facts;
  wchar_t path[MAX_PATH];
  DWORD chars = MAX_PATH;
  if (QueryFullProcessImageNameW(process.h, 0, path, &chars)) facts.program = ReduceExeName(Utf8({path, chars}));
  facts.bits = ProcessBits(process.h);
  facts.integrity = Integrity(process.h);
  return facts;
}

std::string ClassOf(HWND window) {
  wchar_t name[256];
  const int chars = GetClassNameW(window, name, 256);
  return chars > 0 ? Utf8({name, static_cast<std::size_t>(chars)}) : "";
}

template <std::size_t N>
bool Listed(const std::array<std::string_view, N>& list, std::string_view name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

bool IsBrowserProgram(std::string_view program) {
  if (IsBrowserExecutable(program)) return true;
  for (std::string_view kind : kBrowserKinds) {
    if (IsIeEngineExe(kind, program)) return true;
  }
  return false;
}

BOOL CALLBACK Collect(HWND window, LPARAM out) {
  reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
  return TRUE;
}

std::string RegistryText(HKEY root, const wchar_t* key, const wchar_t* value) {
  wchar_t buffer[256] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  if (RegGetValueW(root, key, value, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) return "absent";
  return "\"" + Utf8(buffer) + "\"";
}

std::string RegistryNumber(HKEY root, const wchar_t* key, const wchar_t* value) {
  DWORD number = 0;
  DWORD size = sizeof number;
  if (RegGetValueW(root, key, value, RRF_RT_REG_DWORD, nullptr, &number, &size) != ERROR_SUCCESS) return "absent";
  return std::to_string(number);
}

}  // namespace

void MachineLines(std::vector<std::string>& lines) {
  OSVERSIONINFOEXW v{};
  v.dwOSVersionInfoSize = sizeof v;
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  // GetVersionEx lies to programs without a manifest entry for each Windows; ntdll does not.
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  if (auto get = reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))) {
    get(&v);
  }
  std::string windows = "Windows " + std::to_string(v.dwMajorVersion) + "." + std::to_string(v.dwMinorVersion) +
                        " build " + std::to_string(v.dwBuildNumber) + (IsOsWide64() ? ", 64-bit" : ", 32-bit");
  using WineVersionFn = const char*(CDECL*)();
  if (auto wine = reinterpret_cast<WineVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")))) {
    windows += std::string(", under Wine ") + wine();
  }
  lines.push_back(windows);
  lines.push_back(std::string("Paginor ") + PAGINOR_VERSION + ", " + std::to_string(sizeof(void*) * 8) + "-bit");
  wchar_t locale[LOCALE_NAME_MAX_LENGTH] = L"?";
  LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), locale, LOCALE_NAME_MAX_LENGTH, 0);
  lines.push_back("UI language " + Utf8(locale) + ", ANSI code page " + std::to_string(GetACP()) +
                  ", OEM code page " + std::to_string(GetOEMCP()));
  const HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  lines.push_back("display scale " + std::to_string(dpi * 100 / 96) + "% (" + std::to_string(dpi) + " dpi)");
}

void BrowserWindowLines(std::vector<std::string>& lines) {
  std::vector<HWND> windows;
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows));
  std::size_t shown = 0;
  for (HWND window : windows) {
    const std::string cls = ClassOf(window);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    const ProcessFacts facts = Facts(pid);
    if (!Listed(kBrowserClasses, cls) && !IsBrowserProgram(facts.program)) continue;
    if (++shown > kMaxWindows) continue;
    lines.push_back(WindowName(reinterpret_cast<WindowHandle>(window)) + " \"" + cls + "\" " + facts.program +
                    " (" + facts.bits + ", integrity " + facts.integrity + ")" +
                    (IsWindowVisible(window) ? ", visible" : ", hidden") + (IsIconic(window) ? ", minimised" : ""));
  }
  if (shown == 0) lines.push_back("none: no top-level window of a browser's class or program");
  if (shown > kMaxWindows) lines.push_back("… and " + std::to_string(shown - kMaxWindows) + " more");
}

void IEEngineLines(std::vector<std::string>& lines) {
  constexpr const wchar_t* kIE = L"SOFTWARE\\Microsoft\\Internet Explorer";
  for (const auto& [root, name] : {std::pair{HKEY_LOCAL_MACHINE, "HKLM"}, std::pair{HKEY_CURRENT_USER, "HKCU"}}) {
    lines.push_back(std::string(name) + " Version " + RegistryText(root, kIE, L"Version") + ", svcVersion " +
                    RegistryText(root, kIE, L"svcVersion"));
  }
  // 2500 in the Internet zone: 0 turns protected mode on, 3 off.
  lines.push_back("protected mode (Internet zone, 2500): " +
                  RegistryNumber(HKEY_CURRENT_USER,
                                 L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\3",
                                 L"2500"));
  lines.push_back("this program's integrity: " + Integrity(GetCurrentProcess()));
}

}  // namespace paginor::app::win32
