#include "engine/html/isolated_run.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/html/html_page.h"

namespace paginor {
namespace {

using namespace std::chrono_literals;

IsolationLimits Limits(std::chrono::seconds cpu) {
  IsolationLimits limits;
  limits.cpu = cpu;
  return limits;
}

TEST(IsolatedRun, HandsBackTheOutputAndTellsHowTheWorkEnded) {
  const IsolatedResult done = RunIsolated([] { return std::string(300'000, 'x'); }, Limits(5s));
  EXPECT_EQ(done.outcome, IsolatedOutcome::Finished);
  EXPECT_EQ(done.output, std::string(300'000, 'x'));
  const auto outcome = [](const std::function<std::string()>& work) {
    return RunIsolated(work, Limits(5s)).outcome;
  };
  EXPECT_EQ(outcome([]() -> std::string { std::abort(); }), IsolatedOutcome::Failed);
  EXPECT_EQ(outcome([]() -> std::string {
              std::raise(SIGKILL);
              return "";
            }),
            IsolatedOutcome::Failed);
  EXPECT_EQ(outcome([]() -> std::string { throw std::runtime_error("x"); }),
            IsolatedOutcome::Failed);
  EXPECT_EQ(outcome([]() -> std::string { throw std::bad_alloc(); }),
            IsolatedOutcome::OutOfMemory);
}

TEST(IsolatedRun, EndlessWorkEndsWhenItsProcessorTimeIsSpent) {
  const IsolatedResult result = RunIsolated(
      []() -> std::string {
        for (volatile bool forever = true; forever;) {
        }
        return "";
      },
      Limits(1s));
  EXPECT_EQ(result.outcome, IsolatedOutcome::OutOfTime);
  EXPECT_EQ(result.output, "");
}

TEST(IsolatedRun, OutputBeyondTheLimitIsRefused) {
  IsolationLimits limits = Limits(5s);
  limits.maxOutputBytes = 1000;
  EXPECT_EQ(RunIsolated([] { return std::string(5000, 'x'); }, limits).outcome,
            IsolatedOutcome::OutputTooLarge);
}

TEST(IsolatedRun, NothingTheWorkDoesReachesThisProcess) {
  std::string touched = "before";
  EXPECT_EQ(RunIsolated(
                [&] {
                  touched = "after";
                  return std::string();
                },
                Limits(5s))
                .outcome,
            IsolatedOutcome::Finished);
  EXPECT_EQ(touched, "before");
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(IsolatedRun, PageBeyondTheMemoryLimitIsRefusedWithAReason) {
  IsolationLimits limits = Limits(10s);
  limits.memoryBytes = std::size_t{8} << 20;
  std::string html;
  for (int i = 0; i < 100'000; ++i) html += "<p><a href=x>next</a>";
  HtmlPage::Load load = HtmlPage::Parse("http://s.example/", html, nullptr, limits);
  EXPECT_EQ(load.page, nullptr);
  EXPECT_EQ(load.problem, "the page needs more than 8 MiB to be parsed");
}
#endif

// gumbo 0.10.1 fails an assertion on this page; a parser without the fault loads it.
TEST(IsolatedRun, PageThatStopsTheParserIsRefusedNotFatal) {
  const std::string html = "<table><svg><select><title><select><table><a href=x>next</a>";
  HtmlPage::Load load = HtmlPage::Parse("http://s.example/", html, nullptr);
  if (load.page == nullptr) {
    EXPECT_EQ(load.problem, "the HTML parser fails on this page");
  } else {
    EXPECT_EQ(load.problem, "");
  }
  HtmlPage::Load fine = HtmlPage::Parse("http://s.example/", "<a href=x>next</a>", nullptr);
  ASSERT_NE(fine.page, nullptr);
  EXPECT_EQ(fine.page->LinkCount(), 1u);
}

// Where no process can be made, the page is refused: it is never parsed where an abort
// in the parser would end the program.
TEST(IsolatedRun, PageIsRefusedWhenNoProcessCanBeMade) {
  // In a child of the test, as a user who may start no further process.
  const pid_t probe = fork();
  ASSERT_GE(probe, 0);
  if (probe == 0) {
    if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    const rlimit none{0, 0};
    if (setrlimit(RLIMIT_NPROC, &none) != 0) _exit(3);
    HtmlPage::Load load = HtmlPage::Parse("http://s.example/", "<a href=x>next</a>", nullptr);
    const bool refused =
        load.page == nullptr &&
        load.problem == "no process could be started to parse the page safely, so it is not parsed";
    _exit(refused ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(probe, &status, 0), probe);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace paginor
