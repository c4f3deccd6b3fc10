#include "browser/win32/win32_browser.h"

#include <windows.h>

#include <optional>
#include <string>

#include "browser/ie_version.h"
#include "browser/win32/com_util.h"

namespace paginor::win32 {
namespace {

// A text value of an opened key; empty when the value is missing or no text.
std::optional<std::string> VersionValue(HKEY key, const wchar_t* name) {
  wchar_t buffer[256];
  DWORD type = 0;
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::size_t chars = size / sizeof(wchar_t);
  buffer[chars] = L'\0';
  while (chars > 0 && buffer[chars - 1] == L'\0') --chars;
  return Utf8({buffer, chars});
}

}  // namespace

std::string DetectIEVersion() {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, L"SOFTWARE\\Microsoft\\Internet Explorer", 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
      continue;
    }
    const std::optional<std::string> service = VersionValue(key, L"svcVersion");
    const std::optional<std::string> value = VersionValue(key, L"Version");
    RegCloseKey(key);
    return IEVersionFromRegistry(true, service, value);
  }
  return IEVersionFromRegistry(false, std::nullopt);
}

}  // namespace paginor::win32
