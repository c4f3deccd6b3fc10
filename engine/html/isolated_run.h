#pragma once
// Work that may bring its process down, run in a child process instead. gumbo 0.10.1
// stops the process with a failed assertion on some malformed pages (for example
// "<table><svg><select><title><select><table>"), and a parser can take unbounded time;
// neither may end the program that merely wanted to look at a page.

#include <chrono>
#include <functional>

namespace paginor {

enum class IsolatedOutcome {
  Finished,  // the work returned
  Failed,    // the child died (a signal, an assertion) or the work threw
  TimedOut,  // the child was killed when the limit ran out
  NotRun,    // no child process could be made; the caller decides
};

// Runs work in a forked copy of this process, whose standard error goes nowhere, and
// waits at most limit for it. Nothing the work does reaches this process. Meant for
// single-threaded callers, as forking copies only the calling thread.
IsolatedOutcome RunIsolated(const std::function<void()>& work, std::chrono::milliseconds limit);

}  // namespace paginor
