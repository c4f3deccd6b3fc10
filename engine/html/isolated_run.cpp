#include "engine/html/isolated_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define PAGINOR_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PAGINOR_ASAN 1
#endif
#endif
#ifndef PAGINOR_ASAN
#define PAGINOR_ASAN 0
#endif

namespace paginor {
namespace {

// A child that neither works nor ends (stopped, or blocked on a lock another thread
// held at the fork) is given up after this, however busy the machine.
std::chrono::milliseconds WallBackstop(const IsolationLimits& limits) {
  return std::max<std::chrono::milliseconds>(std::chrono::minutes(5), limits.cpu * 30);
}

#if !PAGINOR_ASAN
std::size_t AddressSpaceInUse() {
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return 0;
  unsigned long pages = 0;
  const int read = std::fscanf(statm, "%lu", &pages);
  std::fclose(statm);
  return read == 1 ? static_cast<std::size_t>(pages) * static_cast<std::size_t>(sysconf(_SC_PAGESIZE))
                   : 0;
}
#endif

void ApplyLimits(const IsolationLimits& limits) {
  signal(SIGXCPU, SIG_DFL);
  signal(SIGPIPE, SIG_DFL);
  const auto cpu = static_cast<rlim_t>(std::max<long long>(1, limits.cpu.count()));
  const rlimit time{cpu, cpu + 1};  // SIGXCPU at the soft limit, SIGKILL a second later
  setrlimit(RLIMIT_CPU, &time);
#if !PAGINOR_ASAN
  // Sanitizers reserve terabytes of address space and cannot run under such a limit.
  if (const std::size_t inUse = AddressSpaceInUse(); inUse > 0) {
    const auto total = static_cast<rlim_t>(inUse + limits.memoryBytes);
    const rlimit memory{total, total};
    setrlimit(RLIMIT_AS, &memory);
  }
#endif
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

[[noreturn]] void RunChild(const std::function<std::string()>& work, const IsolationLimits& limits,
                           int pipeWrite) {
  const int devNull = open("/dev/null", O_WRONLY);
  if (devNull >= 0) dup2(devNull, STDERR_FILENO);
  ApplyLimits(limits);
  int status = 0;
  try {
    if (!WriteAll(pipeWrite, work())) status = 1;
  } catch (const std::bad_alloc&) {
    status = kOutOfMemoryStatus;
  } catch (...) {
    status = 1;
  }
  _exit(status);  // no atexit handlers, no flushing of the parent's buffers
}

// Reads everything the child writes; false when the backstop or the size limit ends it.
bool ReadAll(int fd, const IsolationLimits& limits, std::string& out, bool& tooLarge) {
  const auto deadline = std::chrono::steady_clock::now() + WallBackstop(limits);
  std::array<char, 65536> buffer{};
  pollfd watched{fd, POLLIN, 0};
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    const int ready = poll(&watched, 1, static_cast<int>(std::min<long long>(left.count(), 60'000)));
    if (ready < 0 && errno != EINTR) return false;
    if (ready <= 0) continue;
    const ssize_t got = read(fd, buffer.data(), buffer.size());
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got <= 0) return got == 0;
    if (out.size() + static_cast<std::size_t>(got) > limits.maxOutputBytes) {
      tooLarge = true;
      return false;
    }
    out.append(buffer.data(), static_cast<std::size_t>(got));
  }
}

std::chrono::microseconds CpuTime(const rusage& usage) {
  const auto seconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec;
  const auto micros = usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
  return std::chrono::seconds(seconds) + std::chrono::microseconds(micros);
}

IsolatedOutcome Classify(int status, const rusage& usage, const IsolationLimits& limits) {
  if (WIFEXITED(status)) {
    if (WEXITSTATUS(status) == 0) return IsolatedOutcome::Finished;
    return WEXITSTATUS(status) == kOutOfMemoryStatus ? IsolatedOutcome::OutOfMemory
                                                     : IsolatedOutcome::Failed;
  }
  if (WIFSIGNALED(status) &&
      (WTERMSIG(status) == SIGXCPU || (WTERMSIG(status) == SIGKILL && CpuTime(usage) >= limits.cpu))) {
    return IsolatedOutcome::OutOfTime;
  }
  return IsolatedOutcome::Failed;
}

}  // namespace

IsolatedResult RunIsolated(const std::function<std::string()>& work, const IsolationLimits& limits) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return {};
  const pid_t child = fork();
  if (child < 0) {
    close(ends[0]);
    close(ends[1]);
    return {};
  }
  if (child == 0) {
    close(ends[0]);
    RunChild(work, limits, ends[1]);
  }
  close(ends[1]);
  IsolatedResult result;
  bool tooLarge = false;
  const bool complete = ReadAll(ends[0], limits, result.output, tooLarge);
  close(ends[0]);
  if (!complete) kill(child, SIGKILL);
  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0) {
    if (errno != EINTR) {
      result.outcome = IsolatedOutcome::Failed;
      return result;
    }
  }
  result.outcome = tooLarge ? IsolatedOutcome::OutputTooLarge : Classify(status, usage, limits);
  if (result.outcome != IsolatedOutcome::Finished) result.output.clear();
  return result;
}

}  // namespace paginor
