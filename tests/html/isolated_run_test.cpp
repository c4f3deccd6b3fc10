#include "engine/html/isolated_run.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "engine/html/html_page.h"

namespace paginor {
namespace {

using namespace std::chrono_literals;

TEST(IsolatedRun, TellsHowTheWorkEnded) {
  EXPECT_EQ(RunIsolated([] {}, 5s), IsolatedOutcome::Finished);
  EXPECT_EQ(RunIsolated([] { std::abort(); }, 5s), IsolatedOutcome::Failed);
  EXPECT_EQ(RunIsolated([] { std::raise(SIGKILL); }, 5s), IsolatedOutcome::Failed);
  EXPECT_EQ(RunIsolated([] { throw std::runtime_error("x"); }, 5s), IsolatedOutcome::Failed);
}

TEST(IsolatedRun, EndlessWorkIsKilledAtTheLimit) {
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RunIsolated(
                [] {
                  for (volatile bool forever = true; forever;) {
                  }
                },
                300ms),
            IsolatedOutcome::TimedOut);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
}

TEST(IsolatedRun, NothingTheWorkDoesReachesThisProcess) {
  std::string touched = "before";
  EXPECT_EQ(RunIsolated([&] { touched = "after"; }, 5s), IsolatedOutcome::Finished);
  EXPECT_EQ(touched, "before");
}

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

}  // namespace
}  // namespace paginor
