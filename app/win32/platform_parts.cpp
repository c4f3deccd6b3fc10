#include "app/win32/platform_parts.h"

#include <commdlg.h>

#include <vector>

#include "app/win32/resource.h"
#include "app/win32/wide.h"
#include "hooks/MouseHookCommon.h"
#include "hooks/keyHookCommon.h"

namespace paginor::app::win32 {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"tpnav";

}  // namespace

void WindowBoxes::Notice(std::string_view text) { Show(std::string(text), std::string(kNoticeCaption)); }

void WindowBoxes::Error(std::string_view text) {
  MessageBoxW(owner_, Wide(text).c_str(), L"Paginor", MB_OK | MB_ICONERROR);
}

void WindowBoxes::Show(const std::string& text, const std::string& caption) {
  MessageBoxW(owner_, Wide(text).c_str(), Wide(caption).c_str(), MB_OK);
}

std::optional<std::string> CommonFileDialogs::Open(const FileDialogRequest& request) { return Run(request, false); }

std::optional<std::string> CommonFileDialogs::Save(const FileDialogRequest& request) { return Run(request, true); }

std::optional<std::string> CommonFileDialogs::Run(const FileDialogRequest& request, bool save) {
  // "description|pattern" becomes the double-NUL-terminated pairs the dialog wants.
  std::wstring filter = Wide(request.filter);
  for (wchar_t& ch : filter) {
    if (ch == L'|') ch = L'\0';
  }
  filter.push_back(L'\0');
  const std::wstring title = Wide(request.title);
  const std::wstring dir = Wide(request.initialDir);
  const std::wstring extension = Wide(request.defaultExtension);
  std::vector<wchar_t> file(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner_;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = dir.c_str();
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = extension.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER |
              (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!ok) return std::nullopt;
  return Utf8(file.data());
}

bool LoadedHookLibraries::Load(const std::wstring& appDir, std::wstring& missing) {
  // By full path, and their own dependencies only from their folder and the system's:
  // never from the current directory, where anyone may have put a DLL.
  auto load = [&](const wchar_t* name) -> HMODULE {
    const std::wstring path = appDir + name;
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr,
                                    LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
      // Windows 7 without the update that knows these flags.
      module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    if (!module) missing = path;
    return module;
  };
  auto bind = [&](HMODULE module, const char* name, const wchar_t* library) -> Export {
    const FARPROC proc = GetProcAddress(module, name);
    if (!proc) missing = appDir + library + L" " + Wide(name);
    return reinterpret_cast<Export>(reinterpret_cast<void*>(proc));
  };
  keyboard_ = load(hooks::kKeyboardLibrary);
  if (!keyboard_) return false;
  mouse_ = load(hooks::kMouseLibrary);
  if (!mouse_) return false;
  hookKey_ = bind(keyboard_, hooks::kHookKeyExport, hooks::kKeyboardLibrary);
  unHookKey_ = bind(keyboard_, hooks::kUnHookKeyExport, hooks::kKeyboardLibrary);
  hookMouse_ = bind(mouse_, hooks::kHookMouseExport, hooks::kMouseLibrary);
  unHookMouse_ = bind(mouse_, hooks::kUnHookMouseExport, hooks::kMouseLibrary);
  const auto bindKind = [](HMODULE module) {
    return reinterpret_cast<SetKind>(reinterpret_cast<void*>(GetProcAddress(module, hooks::kSetPageKindExport)));
  };
  keyboardKind_ = bindKind(keyboard_);
  mouseKind_ = bindKind(mouse_);
  return hookKey_ && unHookKey_ && hookMouse_ && unHookMouse_;
}

void LoadedHookLibraries::SetPageKind(hooks::PageKind kind) {
  if (keyboardKind_) keyboardKind_(static_cast<int>(kind));
  if (mouseKind_) mouseKind_(static_cast<int>(kind));
}

LoadedHookLibraries::~LoadedHookLibraries() {
  if (keyboard_) FreeLibrary(keyboard_);
  if (mouse_) FreeLibrary(mouse_);
}

std::optional<std::string> RunKeyAutostart::RunValue() const {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
  std::optional<std::string> value;
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(key, kRunValue, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, kRunValue, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &bytes) ==
        ERROR_SUCCESS) {
      value = Utf8(data.data());
    }
  }
  RegCloseKey(key);
  return value;
}

std::string DefinitionMemos::MemoText(SetIndex set) const {
  return WindowText(GetDlgItem(page_, IDC_CFGMEMO1 + static_cast<int>(set)));
}

void DefinitionMemos::SetMemoText(SetIndex set, const std::string& text) {
  SetWindowTextW(GetDlgItem(page_, IDC_CFGMEMO1 + static_cast<int>(set)), Wide(text).c_str());
}

void DefinitionMemos::ShowPage(SetIndex set) {
  for (int i = 0; i < kSetCount; ++i) {
    ShowWindow(GetDlgItem(page_, IDC_CFGMEMO1 + i), i == static_cast<int>(set) ? SW_SHOW : SW_HIDE);
  }
}

}  // namespace paginor::app::win32
