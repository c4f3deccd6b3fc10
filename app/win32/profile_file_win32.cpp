#include "app/win32/profile_file_win32.h"

#include <windows.h>

#include <vector>

#include "app/win32/wide.h"
#include "engine/text_codec.h"

namespace paginor::app::win32 {
namespace {

// No value a person types holds this, so it tells a missing key from an empty one.
constexpr wchar_t kMissing[] = L"\x1\x2\x3";

// The profile functions keep a file that starts with a UTF-16 mark in UTF-16.
bool IsUnicodeFile(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  unsigned char mark[2] = {};
  DWORD read = 0;
  const bool ok = ReadFile(file, mark, 2, &read, nullptr) && read == 2 && mark[0] == 0xFF && mark[1] == 0xFE;
  CloseHandle(file);
  return ok;
}

}  // namespace

std::optional<std::string> PrivateProfileFile::Read(std::string_view section, std::string_view key) const {
  const std::wstring file = Wide(path_);
  const std::wstring s = Wide(section);
  const std::wstring k = Wide(key);
  std::vector<wchar_t> buffer(256);
  for (;;) {
    const DWORD n = GetPrivateProfileStringW(s.c_str(), k.c_str(), kMissing, buffer.data(),
                                             static_cast<DWORD>(buffer.size()), file.c_str());
    if (n + 1 < buffer.size() || buffer.size() > 65536) {
      const std::wstring value(buffer.data(), n);
      if (value == kMissing) return std::nullopt;
      return Utf8(value);
    }
    buffer.resize(buffer.size() * 4);
  }
}

// The profile functions rewrite the file in place; a crash in the middle would leave it
// cut short. So the keys go into a copy that then replaces the file in one step.
std::size_t PrivateProfileFile::Write(const std::vector<ProfileEntry>& entries) {
  const std::wstring file = Wide(path_);
  const std::wstring temporary = file + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  const DWORD attributes = GetFileAttributesW(file.c_str());
  // A read-only file is one the person does not want changed; replacing it would.
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return 0;
  DeleteFileW(temporary.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !CopyFileW(file.c_str(), temporary.c_str(), FALSE)) return 0;
  std::size_t written = 0;
  const bool unicode = IsUnicodeFile(temporary);
  for (const ProfileEntry& e : entries) {
    // An ANSI file turns what its code page cannot hold into "?": count that as a failed
    // write rather than lose the text without a word.
    if (!unicode && !(SystemAnsiCodec().FromUtf8(e.section) && SystemAnsiCodec().FromUtf8(e.key) &&
                      SystemAnsiCodec().FromUtf8(e.value))) {
      break;
    }
    if (!WritePrivateProfileStringW(Wide(e.section).c_str(), Wide(e.key).c_str(),
                                    Wide(e.value).c_str(), temporary.c_str())) {
      break;
    }
    ++written;
  }
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, temporary.c_str());  // flush
  if (written == 0 ||
      !MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return 0;
  }
  return written;
}

}  // namespace paginor::app::win32
