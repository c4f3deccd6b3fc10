#pragma once
// The diagnostic report a person attaches when nothing happens: what Paginor sees of
// the browsers on their machine. It is put together from parts, each of which may meet
// a browser that stops answering, so the report as a whole stays bounded in time.

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace paginor::app {

inline constexpr std::string_view kReportFileName = "paginor-report.txt";

// An address as the report may show it: its scheme and host alone unless full.
std::string ReportAddress(std::string_view url, bool full);
// Every address inside a text reduced the same way.
std::string ReportAddresses(std::string_view text, bool full);

struct ReportPart {
  std::string title;
  // Runs on a thread of its own, which a hung browser may keep past the part's budget:
  // it must own, or share, everything it touches.
  std::function<void(std::vector<std::string>& lines)> fill;
};

struct ReportBudget {
  std::chrono::milliseconds whole{30000};
  std::chrono::milliseconds part{8000};
};

// The header, then each part under its title with the time it took. A part that
// overruns its budget is named as timed out and the next one goes on; parts left when
// the whole budget is spent are named as not run.
std::string RunReport(std::string_view header, const std::vector<ReportPart>& parts,
                      const ReportBudget& budget);

}  // namespace paginor::app
