#pragma once
// Work that may bring its process down, run in a child process instead. gumbo 0.10.1
// stops the process with a failed assertion on some malformed pages (for example
// "<table><svg><select><title><select><table>"), and a parser can take unbounded time
// and memory; none of that may end or stall the program that merely wanted to look at
// a page. The child hands back its result as bytes.

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace paginor {

struct IsolationLimits {
  // Processor time, not wall time: a busy machine must not refuse what an idle one takes.
  std::chrono::seconds cpu{10};
  std::size_t memoryBytes = std::size_t{2} << 30;  // beyond what the process already holds
  std::size_t maxOutputBytes = std::size_t{1} << 30;
};

enum class IsolatedOutcome {
  Finished,        // the work returned; output holds its bytes
  Failed,          // the child died (a signal, an assertion) or the work threw
  OutOfTime,       // the child used up its processor time
  OutOfMemory,     // the work could not get the memory it needed
  OutputTooLarge,  // the child sent more than the limit allows
  NotRun,          // no child process could be made
};

struct IsolatedResult {
  IsolatedOutcome outcome = IsolatedOutcome::NotRun;
  std::string output;
};

// A child that runs out of memory ends with this status (see parsed_html.h).
inline constexpr int kOutOfMemoryStatus = 3;

// Runs work in a forked copy of this process, whose standard error goes nowhere, and
// collects what it returns. Nothing else the work does reaches this process. Meant for
// single-threaded callers, as forking copies only the calling thread.
IsolatedResult RunIsolated(const std::function<std::string()>& work, const IsolationLimits& limits);

}  // namespace paginor
