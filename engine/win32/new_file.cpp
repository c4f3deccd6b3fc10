#include "engine/new_file.h"

#include <windows.h>

#include <algorithm>

namespace paginor {
namespace {

// What a replaced file keeps; read-only is left out, as the program must be able to
// replace the file again.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

DWORD AttributesFor(const std::filesystem::path& model) {
  const DWORD existing = GetFileAttributesW(model.c_str());
  if (existing == INVALID_FILE_ATTRIBUTES) return FILE_ATTRIBUTE_NORMAL;
  const DWORD kept = existing & kKeptAttributes;
  return kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
}

}  // namespace

NewFileResult WriteNewFile(const std::filesystem::path& path, std::string_view bytes,
                           const std::filesystem::path& model) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            AttributesFor(model), nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? NewFileResult::NameTaken
                                                                       : NewFileResult::Failed;
  }
  bool ok = true;
  while (ok && !bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    ok = WriteFile(file, bytes.data(), chunk, &written, nullptr) && written > 0;
    if (ok) bytes.remove_prefix(written);
  }
  ok = ok && FlushFileBuffers(file);
  ok = CloseHandle(file) && ok;
  if (!ok) DeleteFileW(path.c_str());
  return ok ? NewFileResult::Written : NewFileResult::Failed;
}

}  // namespace paginor
