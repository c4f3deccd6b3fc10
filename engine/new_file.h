#pragma once
// The platform's part of a safe save: a new file written in full and flushed to the
// disk before it replaces anything (fsync on POSIX, FlushFileBuffers on Windows).

#include <filesystem>
#include <string_view>

namespace paginor {

enum class NewFileResult {
  Written,
  NameTaken,  // something already exists at the path; nothing was touched
  Failed,     // nothing is left at the path
};

// Creates the file exclusively (O_EXCL, CREATE_NEW), gives it the permissions or
// attributes of model when model exists, writes the bytes and flushes them to the disk.
NewFileResult WriteNewFile(const std::filesystem::path& path, std::string_view bytes,
                           const std::filesystem::path& model);

}  // namespace paginor
