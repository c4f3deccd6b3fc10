#include "app/win32/launch.h"

#include <windows.h>

#include <shellapi.h>

#include "app/main_form.h"
#include "app/win32/wide.h"

namespace paginor::app::win32 {
namespace {

constexpr wchar_t kRunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"tpnav";

}  // namespace

bool ProcessLauncher::FileExists(const std::string& path) const {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ProcessLauncher::Launch(const std::string& path, const std::string& arguments) {
  const std::wstring application = Wide(path);
  // The command line's first word is the program itself, quoted like the Run value.
  std::wstring commandLine = Wide(QuotedPath(path));
  if (!arguments.empty()) commandLine += L" " + Wide(arguments);
  const std::wstring folder = Wide(AppDirOf(path));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process)) {
    return false;
  }
  // Not waited for: the program does not track what it starts.
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool ProcessLauncher::Open(const std::string& path) {
  const std::wstring file = Wide(path);
  // ShellExecute answers a number above 32 when the system found a program for the file.
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", file.c_str(), nullptr,
                                                              Wide(AppDirOf(path)).c_str(), SW_SHOWNORMAL));
  return result > 32;
}

RunKeyWrite RegistryRunKey::Write(std::string_view data) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return RunKeyWrite::KeyUnavailable;
  }
  const std::wstring value = Wide(data);
  const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  const bool ok =
      RegSetValueExW(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok ? RunKeyWrite::Written : RunKeyWrite::Failed;
}

void RegistryRunKey::Delete() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueW(key, kRunValue);
  RegCloseKey(key);
}

}  // namespace paginor::app::win32
