#include <utility>

#include "browser/automation.h"
#include "browser/timed_accessible.h"

namespace paginor {
namespace {

// Runs f on the worker; its result lives in a slot the job owns, so a job that ends
// after its timeout writes into nothing that is gone. Empty when it did not run in time.
template <class F>
auto OnWorkerCall(AccessibleWorker& worker, F f) -> std::optional<decltype(f())> {
  using Result = decltype(f());
  auto slot = std::make_shared<std::optional<Result>>();
  const bool ran = worker.Run([slot, f] {
    try {
      slot->emplace(f());
    } catch (...) {
      slot->reset();
    }
  });
  if (!ran) return std::nullopt;
  return std::move(*slot);
}

AutomationPtr Wrap(const std::shared_ptr<AccessibleWorker>& worker, AutomationPtr inner);

class WorkerElement : public AutomationElement {
 public:
  // The properties are plain data read on the worker when the element was found.
  WorkerElement(std::shared_ptr<AccessibleWorker> worker, AutomationPtr inner)
      : worker_(std::move(worker)), inner_(std::move(inner)), properties_(inner_->Properties()) {}
  ~WorkerElement() override {
    worker_->Post([inner = std::move(inner_)]() mutable { inner.reset(); });
  }

  const AutomationProperties& Properties() const override { return properties_; }

  std::optional<std::vector<AutomationPtr>> FindAll(long controlType) override {
    auto found = OnWorkerCall(*worker_, [inner = inner_, controlType] { return inner->FindAll(controlType); });
    if (!found || !*found) return std::nullopt;
    std::vector<AutomationPtr> elements = std::move(**found);
    for (AutomationPtr& element : elements) element = Wrap(worker_, std::move(element));
    return elements;
  }

  bool Invoke() override {
    return OnWorkerCall(*worker_, [inner = inner_] { return inner->Invoke(); }).value_or(false);
  }

 private:
  std::shared_ptr<AccessibleWorker> worker_;
  AutomationPtr inner_;
  AutomationProperties properties_;
};

AutomationPtr Wrap(const std::shared_ptr<AccessibleWorker>& worker, AutomationPtr inner) {
  if (!inner) return nullptr;
  return std::make_shared<WorkerElement>(worker, std::move(inner));
}

class WorkerAutomation : public Automation {
 public:
  WorkerAutomation(std::shared_ptr<AccessibleWorker> worker, Automation& inner)
      : worker_(std::move(worker)), inner_(inner) {}

  AutomationPtr FromWindow(WindowHandle window) override {
    Automation* inner = &inner_;
    auto element = OnWorkerCall(*worker_, [inner, window] { return inner->FromWindow(window); });
    if (!element) return nullptr;
    return Wrap(worker_, std::move(*element));
  }

 private:
  std::shared_ptr<AccessibleWorker> worker_;
  Automation& inner_;
};

}  // namespace

std::shared_ptr<Automation> AutomationOnWorker(std::shared_ptr<AccessibleWorker> worker, Automation& inner) {
  if (!worker) return nullptr;
  return std::make_shared<WorkerAutomation>(std::move(worker), inner);
}

}  // namespace paginor
