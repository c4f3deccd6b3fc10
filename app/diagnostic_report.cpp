#include "app/diagnostic_report.h"

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <regex>
#include <thread>

namespace paginor::app {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

struct PartRun {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  std::vector<std::string> lines;
};

// Runs fill on a thread of its own, whose state lives as long as the last of the two
// needs it: a part stuck in a browser call is let go, never waited for.
std::thread Start(const ReportPart& part, const std::shared_ptr<PartRun>& run) {
  return std::thread([run, fill = part.fill] {
    std::vector<std::string> lines;
    try {
      fill(lines);
    } catch (const std::exception& e) {
      lines.push_back(std::string("failed: ") + e.what());
    } catch (...) {
      lines.push_back("failed");
    }
    const std::lock_guard<std::mutex> lock(run->mutex);
    run->lines = std::move(lines);
    run->done = true;
    run->finished.notify_all();
  });
}

long long Ms(Clock::duration d) { return std::chrono::duration_cast<milliseconds>(d).count(); }

}  // namespace

std::string ReportAddress(std::string_view url, bool full) {
  if (full) return std::string(url);
  const std::size_t colon = url.find(':');
  if (colon == std::string_view::npos || colon == 0) return "(address withheld)";
  const std::string_view scheme = url.substr(0, colon);
  if (url.substr(colon + 1, 2) != "//") return std::string(scheme) + ":…";
  std::string_view rest = url.substr(colon + 3);
  rest = rest.substr(0, rest.find_first_of("/?#\\"));
  // user:password@host:port keeps only the host.
  if (const std::size_t at = rest.rfind('@'); at != std::string_view::npos) rest = rest.substr(at + 1);
  if (rest.empty() || rest.front() != '[') rest = rest.substr(0, rest.find(':'));
  if (scheme == "file") return "file://…";
  return std::string(scheme) + "://" + std::string(rest) + (url.size() > colon + 3 + rest.size() ? "/…" : "");
}

std::string ReportAddresses(std::string_view text, bool full) {
  if (full) return std::string(text);
  static const std::regex address(R"((?:[A-Za-z][A-Za-z0-9+.\-]*://|mailto:|javascript:|data:)[^\s"'<>\]]*)");
  std::string out;
  const std::string input(text);
  std::size_t last = 0;
  for (auto it = std::sregex_iterator(input.begin(), input.end(), address); it != std::sregex_iterator(); ++it) {
    std::string found = it->str();
    // Punctuation that ends a sentence is the text's, not the address's.
    while (!found.empty() && std::string_view(".,:;!?)").find(found.back()) != std::string_view::npos) found.pop_back();
    out.append(input, last, static_cast<std::size_t>(it->position()) - last);
    out += ReportAddress(found, false);
    last = static_cast<std::size_t>(it->position()) + found.size();
  }
  out.append(input, last);
  return out;
}

std::string RunReport(std::string_view header, const std::vector<ReportPart>& parts,
                      const ReportBudget& budget) {
  std::string text(header);
  const Clock::time_point end = Clock::now() + budget.whole;
  for (const ReportPart& part : parts) {
    text += "\n== " + part.title + "\n";
    const Clock::time_point start = Clock::now();
    if (start >= end) {
      text += "  not run: the report's " + std::to_string(Ms(budget.whole) / 1000) + " s were used up\n";
      continue;
    }
    const auto run = std::make_shared<PartRun>();
    std::thread thread = Start(part, run);
    std::unique_lock<std::mutex> lock(run->mutex);
    const Clock::time_point deadline = std::min(end, start + budget.part);
    if (!run->finished.wait_until(lock, deadline, [&] { return run->done; })) {
      // Let go only once it has run a while: MinGW's threads can lose their start
      // argument when detached the moment they are made.
      thread.detach();
      text += "  timed out after " + std::to_string(Ms(Clock::now() - start)) +
              " ms: this part waits on a program that does not answer\n";
      continue;
    }
    lock.unlock();
    thread.join();
    for (const std::string& line : run->lines) text += "  " + line + "\n";
    text += "  (" + std::to_string(Ms(Clock::now() - start)) + " ms)\n";
  }
  return text;
}

}  // namespace paginor::app
