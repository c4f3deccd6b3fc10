#pragma once
// Accessibility calls made on a worker thread of their own and waited for with a
// timeout, so that a browser that stops answering cannot freeze the window that asked.
// Once a call has timed out the worker is given up: every later call fails at once,
// and the next command starts a new worker.

#include <chrono>
#include <functional>
#include <memory>

#include "browser/accessible.h"
#include "browser/modern_discovery.h"

namespace paginor {

inline constexpr std::chrono::milliseconds kAccessibleCallTimeout{5000};

class AccessibleWorker {
 public:
  // init runs first on the worker thread (the Windows build joins a COM apartment
  // there), fini last.
  AccessibleWorker(std::function<void()> init, std::function<void()> fini,
                   std::chrono::milliseconds timeout = kAccessibleCallTimeout);
  ~AccessibleWorker();
  AccessibleWorker(const AccessibleWorker&) = delete;
  AccessibleWorker& operator=(const AccessibleWorker&) = delete;

  // Runs job on the worker. False when the worker is given up or the job did not end
  // within the timeout of its start or of its last AccessibleCallAnswered. The job must own everything it touches.
  bool Run(std::function<void()> job);
  // Runs on the worker without waiting: objects made there are released there.
  void Post(std::function<void()> job);
  bool givenUp() const;

  struct State;

 private:
  std::shared_ptr<State> state_;
  std::chrono::milliseconds timeout_;
};

// Said on the worker by a job that makes several calls into the browser (a node's
// children read batch by batch) after each one answers: the timeout bounds each call,
// never the whole list. Does nothing on any other thread.
void AccessibleCallAnswered();

// Wraps a node made on the worker so that every call, and its release, happens there.
AccessiblePtr OnWorker(std::shared_ptr<AccessibleWorker> worker, AccessiblePtr inner);

// The roots of windows' trees, asked for on the worker. inner must live as long as the
// program, since a call that timed out may still run.
class WorkerWindows : public AccessibleWindows {
 public:
  WorkerWindows(std::shared_ptr<AccessibleWorker> worker, AccessibleWindows& inner);
  AccessiblePtr FromWindow(WindowHandle window) override;
  void WakeWebContent(WindowHandle window) override;

 private:
  std::shared_ptr<AccessibleWorker> worker_;
  AccessibleWindows& inner_;
};

}  // namespace paginor
