#include "engine/new_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace paginor {

NewFileResult WriteNewFile(const std::filesystem::path& path, std::string_view bytes,
                           const std::filesystem::path& model) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno == EEXIST ? NewFileResult::NameTaken : NewFileResult::Failed;
  bool ok = true;
  struct stat modelStatus{};
  if (stat(model.c_str(), &modelStatus) == 0) ok = fchmod(fd, modelStatus.st_mode & 07777) == 0;
  while (ok && !bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    ok = written > 0;
    if (ok) bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  ok = ok && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (!ok) unlink(path.c_str());
  return ok ? NewFileResult::Written : NewFileResult::Failed;
}

}  // namespace paginor
