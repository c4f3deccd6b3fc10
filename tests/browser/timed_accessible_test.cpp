// A browser that stops answering: calls end within the timeout, later ones at once,
// and nothing made on the worker is used or released anywhere else.

#include "browser/timed_accessible.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

namespace paginor::test {
namespace {

using namespace std::chrono_literals;

struct Shared {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::atomic<int> wrongThread{0};
  std::atomic<int> destroyed{0};
  std::thread::id worker;
};

class SlowNode : public AccessibleNode {
 public:
  SlowNode(std::shared_ptr<Shared> shared, bool hangs) : shared_(std::move(shared)), hangs_(hangs) {}
  ~SlowNode() override {
    Check();
    ++shared_->destroyed;
  }
  std::optional<long> Role() override {
    Check();
    return 30;
  }
  std::optional<std::string> Name() override {
    Check();
    if (hangs_) shared_->released.wait();
    return "name";
  }
  std::optional<std::string> Value() override { return std::nullopt; }
  std::optional<std::uint32_t> State() override { return 0u; }
  std::optional<std::vector<AccessiblePtr>> Children() override {
    Check();
    return std::vector<AccessiblePtr>{std::make_shared<SlowNode>(shared_, true)};
  }
  AccessiblePtr Parent() override { return nullptr; }
  bool DoDefaultAction() override { return true; }

 private:
  void Check() {
    if (std::this_thread::get_id() != shared_->worker) ++shared_->wrongThread;
  }
  std::shared_ptr<Shared> shared_;
  bool hangs_;
};

TEST(TimedAccessible, CallsRunAndReleaseOnTheWorkerAndAHungOneGivesItUp) {
  auto shared = std::make_shared<Shared>();
  std::promise<std::thread::id> started;
  auto worker = std::make_shared<AccessibleWorker>(
      [&started] { started.set_value(std::this_thread::get_id()); }, nullptr, 200ms);
  shared->worker = started.get_future().get();

  AccessiblePtr root;
  ASSERT_TRUE(worker->Run([&root, shared] { root = std::make_shared<SlowNode>(shared, false); }));
  root = OnWorker(worker, root);
  EXPECT_EQ(root->Role(), 30);
  EXPECT_EQ(root->Name(), "name");
  auto children = root->Children();
  ASSERT_TRUE(children && children->size() == 1);

  const auto before = std::chrono::steady_clock::now();
  EXPECT_EQ((*children)[0]->Name(), std::nullopt);  // hangs: timed out
  EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
  EXPECT_TRUE(worker->givenUp());
  EXPECT_EQ(root->Role(), std::nullopt);  // at once, without the worker
  EXPECT_FALSE(root->DoDefaultAction());

  children.reset();
  root.reset();
  worker.reset();
  shared->release.set_value();  // the hung call ends after everyone has gone
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(shared->wrongThread.load(), 0);
}

TEST(TimedAccessible, NodesOfAWorkingWorkerAreReleasedOnIt) {
  auto shared = std::make_shared<Shared>();
  std::promise<std::thread::id> started;
  auto worker = std::make_shared<AccessibleWorker>(
      [&started] { started.set_value(std::this_thread::get_id()); }, nullptr);
  shared->worker = started.get_future().get();
  AccessiblePtr inner;
  ASSERT_TRUE(worker->Run([&inner, shared] { inner = std::make_shared<SlowNode>(shared, false); }));
  AccessiblePtr node = OnWorker(worker, std::move(inner));
  node.reset();
  ASSERT_TRUE(worker->Run([] {}));  // queued after the release
  EXPECT_EQ(shared->destroyed.load(), 1);
  EXPECT_EQ(shared->wrongThread.load(), 0);
}

}  // namespace
}  // namespace paginor::test

namespace paginor::test {
namespace {

// A job of many calls, each well within the timeout, outlasts it as a whole; one call
// that hangs still gives the worker up.
TEST(TimedAccessible, TheTimeoutBoundsEachAnsweredCallNotTheWholeJob) {
  auto worker = std::make_shared<AccessibleWorker>(nullptr, nullptr, 300ms);
  const auto calls = [](int n, std::chrono::milliseconds each) {
    return [n, each] {
      for (int i = 0; i < n; ++i, AccessibleCallAnswered()) std::this_thread::sleep_for(each);
    };
  };
  EXPECT_TRUE(worker->Run(calls(6, 150ms)));
  EXPECT_FALSE(worker->Run(calls(1, 700ms)));
}

}  // namespace
}  // namespace paginor::test
