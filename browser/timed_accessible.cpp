#include "browser/timed_accessible.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace paginor {

struct AccessibleWorker::State {
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<std::function<void()>> jobs;
  bool stopping = false;
  bool givenUp = false;
};

namespace {

void Serve(const std::shared_ptr<AccessibleWorker::State>& state, const std::function<void()>& init,
           const std::function<void()>& fini) {
  if (init) init();
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock lock(state->mutex);
      state->wake.wait(lock, [&] { return state->stopping || !state->jobs.empty(); });
      if (state->jobs.empty()) break;
      job = std::move(state->jobs.front());
      state->jobs.pop_front();
    }
    job();
  }
  if (fini) fini();
}

}  // namespace

AccessibleWorker::AccessibleWorker(std::function<void()> init, std::function<void()> fini,
                                   std::chrono::milliseconds timeout)
    : state_(std::make_shared<State>()) {
  timeout_ = timeout;
  std::thread([state = state_, init = std::move(init), fini = std::move(fini)] {
    Serve(state, init, fini);
  }).detach();
}

AccessibleWorker::~AccessibleWorker() {
  // The thread ends once the queue is empty; a hung call keeps only the shared state.
  std::lock_guard lock(state_->mutex);
  state_->stopping = true;
  state_->wake.notify_all();
}

namespace {

// Objects of a worker that hangs are never released: releasing a proxy calls into the
// browser that stopped answering.
void Abandon(std::function<void()> job) {
  static std::mutex mutex;
  static std::vector<std::function<void()>> abandoned;
  std::lock_guard lock(mutex);
  abandoned.push_back(std::move(job));
}

}  // namespace

void AccessibleWorker::Post(std::function<void()> job) {
  std::unique_lock lock(state_->mutex);
  if (state_->givenUp) {
    lock.unlock();
    Abandon(std::move(job));
    return;
  }
  state_->jobs.push_back(std::move(job));
  state_->wake.notify_all();
}

bool AccessibleWorker::givenUp() const {
  std::lock_guard lock(state_->mutex);
  return state_->givenUp;
}

namespace {

struct Done {
  std::mutex mutex;
  std::condition_variable cv;
  bool done = false;
  unsigned long answered = 0;  // calls into the browser this job has seen answered
};

// The job the worker thread runs now, for AccessibleCallAnswered.
thread_local Done* t_running = nullptr;

}  // namespace

void AccessibleCallAnswered() {
  if (!t_running) return;
  std::lock_guard lock(t_running->mutex);
  ++t_running->answered;
  t_running->cv.notify_all();
}

bool AccessibleWorker::Run(std::function<void()> job) {
  auto done = std::make_shared<Done>();
  {
    std::lock_guard lock(state_->mutex);
    if (state_->givenUp) return false;
    state_->jobs.push_back([job = std::move(job), done] {
      t_running = done.get();
      job();
      t_running = nullptr;
      std::lock_guard doneLock(done->mutex);
      done->done = true;
      done->cv.notify_all();
    });
    state_->wake.notify_all();
  }
  std::unique_lock lock(done->mutex);
  // The timeout runs from the last answer, so a long list read call by call ends only
  // when one call hangs.
  for (unsigned long seen = done->answered;; seen = done->answered) {
    if (done->cv.wait_for(lock, timeout_, [&] { return done->done || done->answered != seen; })) {
      if (done->done) return true;
      continue;
    }
    break;
  }
  lock.unlock();
  std::lock_guard stateLock(state_->mutex);
  state_->givenUp = true;
  return false;
}

namespace {

class WorkerNode : public AccessibleNode {
 public:
  WorkerNode(std::shared_ptr<AccessibleWorker> worker, AccessiblePtr inner)
      : worker_(std::move(worker)), inner_(std::move(inner)) {}
  ~WorkerNode() override {
    worker_->Post([inner = std::move(inner_)]() mutable { inner.reset(); });
  }

  std::optional<long> Role() override {
    return Call([](AccessibleNode& n) { return n.Role(); });
  }
  std::optional<std::string> Name() override {
    return Call([](AccessibleNode& n) { return n.Name(); });
  }
  std::optional<std::string> Value() override {
    return Call([](AccessibleNode& n) { return n.Value(); });
  }
  std::optional<std::uint32_t> State() override {
    return Call([](AccessibleNode& n) { return n.State(); });
  }
  std::optional<std::vector<AccessiblePtr>> Children() override {
    auto children = Call([](AccessibleNode& n) { return n.Children(); });
    if (!children) return std::nullopt;
    for (AccessiblePtr& child : *children) child = OnWorker(worker_, std::move(child));
    return children;
  }
  AccessiblePtr Parent() override {
    auto parent = Call([](AccessibleNode& n) { return std::optional(n.Parent()); });
    if (!parent || !*parent) return nullptr;
    return OnWorker(worker_, std::move(*parent));
  }
  bool DoDefaultAction() override {
    return Call([](AccessibleNode& n) { return std::optional(n.DoDefaultAction()); })
        .value_or(false);
  }
  std::optional<std::uint32_t> Ia2States() override {
    return Call([](AccessibleNode& n) { return n.Ia2States(); });
  }
  std::optional<std::string> ObjectAttributes() override {
    return Call([](AccessibleNode& n) { return n.ObjectAttributes(); });
  }
  AccessiblePtr Embedded() override {
    auto embedded = Call([](AccessibleNode& n) { return std::optional(n.Embedded()); });
    if (!embedded || !*embedded) return nullptr;
    return OnWorker(worker_, std::move(*embedded));
  }
  FocusAnswer Focus() override {
    FocusAnswer answer = Call([](AccessibleNode& n) { return n.Focus(); });
    answer.descendant = OnWorker(worker_, std::move(answer.descendant));
    return answer;
  }

 private:
  // The result lives in a slot the job owns, so a job that ends after its timeout
  // writes into nothing that is gone.
  template <class F>
  auto Call(F f) -> decltype(f(std::declval<AccessibleNode&>())) {
    using Result = decltype(f(std::declval<AccessibleNode&>()));
    auto slot = std::make_shared<Result>();
    const bool ran = worker_->Run([slot, inner = inner_, f] {
      try {
        *slot = f(*inner);
      } catch (...) {
        *slot = Result{};
      }
    });
    if (!ran) return Result{};
    return std::move(*slot);
  }

  std::shared_ptr<AccessibleWorker> worker_;
  AccessiblePtr inner_;
};

}  // namespace

WorkerWindows::WorkerWindows(std::shared_ptr<AccessibleWorker> worker, AccessibleWindows& inner)
    : worker_(std::move(worker)), inner_(inner) {}

AccessiblePtr WorkerWindows::FromWindow(WindowHandle window) {
  auto slot = std::make_shared<AccessiblePtr>();
  AccessibleWindows* inner = &inner_;
  const bool ran = worker_->Run([slot, inner, window] {
    try {
      *slot = inner->FromWindow(window);
    } catch (...) {
      slot->reset();
    }
  });
  if (!ran) return nullptr;
  return OnWorker(worker_, std::move(*slot));
}

void WorkerWindows::WakeWebContent(WindowHandle window) {
  AccessibleWindows* inner = &inner_;
  worker_->Run([inner, window] {
    try {
      inner->WakeWebContent(window);
    } catch (...) {
    }
  });
}

AccessiblePtr OnWorker(std::shared_ptr<AccessibleWorker> worker, AccessiblePtr inner) {
  if (!inner) return nullptr;
  return std::make_shared<WorkerNode>(std::move(worker), std::move(inner));
}

}  // namespace paginor
