#include "engine/html/isolated_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace paginor {
namespace {

[[noreturn]] void RunChild(const std::function<void()>& work, int pipeWrite) {
  // The write end stays open until the child ends: its closing tells the parent.
  (void)pipeWrite;
  const int devNull = open("/dev/null", O_WRONLY);
  if (devNull >= 0) dup2(devNull, STDERR_FILENO);
  int status = 0;
  try {
    work();
  } catch (...) {
    status = 1;
  }
  _exit(status);  // no atexit handlers, no flushing of the parent's buffers
}

// Waits until the child closes its end of the pipe or the limit runs out.
bool ChildEnded(int pipeRead, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  pollfd fd{pipeRead, POLLIN, 0};
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    const int ready = poll(&fd, 1, static_cast<int>(left.count()));
    if (ready > 0) return true;
    if (ready == 0) return false;
    if (errno != EINTR) return true;  // cannot watch it: let waitpid tell
  }
}

}  // namespace

IsolatedOutcome RunIsolated(const std::function<void()>& work, std::chrono::milliseconds limit) {
  int ends[2];
  if (pipe(ends) != 0) return IsolatedOutcome::NotRun;
  const pid_t child = fork();
  if (child < 0) {
    close(ends[0]);
    close(ends[1]);
    return IsolatedOutcome::NotRun;
  }
  if (child == 0) {
    close(ends[0]);
    RunChild(work, ends[1]);
  }
  close(ends[1]);
  const bool ended = ChildEnded(ends[0], limit);
  close(ends[0]);
  if (!ended) kill(child, SIGKILL);
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return IsolatedOutcome::Failed;
  }
  if (!ended) return IsolatedOutcome::TimedOut;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? IsolatedOutcome::Finished
                                                       : IsolatedOutcome::Failed;
}

}  // namespace paginor
