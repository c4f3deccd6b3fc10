#include "engine/fixed_position.h"

#include <cstdint>
#include <limits>

#include "engine/link_text.h"
#include "engine/url_template.h"

namespace paginor {
namespace {

struct LineFields {
  std::string_view action;
  std::string_view x;
  std::string_view y;
  std::string_view pattern;
};

// Nothing when the trimmed line has fewer than three commas.
std::optional<LineFields> SplitLine(std::string_view t) {
  std::string_view parts[3];
  for (auto& part : parts) {
    const auto comma = t.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    part = t.substr(0, comma);
    t.remove_prefix(comma + 1);
  }
  return LineFields{parts[0], parts[1], parts[2], t};
}

std::string_view WithoutFragment(std::string_view url) { return url.substr(0, url.find('#')); }

// A pattern without wildcards ignores the address when expanded, so it must name it.
bool PatternFits(std::string_view pattern, std::string_view docURL) {
  const UrlExpansion expansion = ExpandUrlTemplateDetailed(pattern, docURL, "$");
  if (expansion.address.empty()) return false;
  if (expansion.wildcard) return true;
  if (expansion.address.find('#') != std::string::npos) return expansion.address == docURL;
  return expansion.address == WithoutFragment(docURL);
}

// The point packed as MAKELPARAM packs it: y * 65536 + x for the usual non-negative
// client point, and still x and y for one left of or above the client area.
std::intptr_t PointParam(ScreenPoint p) {
  const auto low = static_cast<std::uint32_t>(p.x) & 0xFFFFu;
  const auto high = static_cast<std::uint32_t>(p.y) & 0xFFFFu;
  return static_cast<std::intptr_t>((high << 16) | low);
}

void PostClick(WindowMessenger& messenger, WindowHandle window, std::intptr_t lParam) {
  messenger.PostMessage(window, kWmMouseMove, 0, lParam);
  messenger.PostMessage(window, kWmLButtonDown, kMkLButton, lParam);
  messenger.PostMessage(window, kWmLButtonUp, kMkLButton, lParam);
}

}  // namespace

std::optional<std::string> GenerateFixedPositionLine(std::string_view xText, std::string_view yText,
                                                     std::string_view pattern,
                                                     bool previousPageSelected) {
  if (xText.empty() || yText.empty() || pattern.empty()) return std::nullopt;
  std::string line(previousPageSelected ? kPrevAction : kNextAction);
  ((((line += ',') += xText) += ',') += yText) += ',';
  line += pattern;
  return line;
}

std::optional<long> ParseCoordinate(std::string_view text) {
  while (text.starts_with(' ')) text.remove_prefix(1);
  bool negative = false;
  if (text.starts_with('+') || text.starts_with('-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > kMax) return std::nullopt;
  }
  if (negative && value != 0) return std::nullopt;
  return static_cast<long>(value);
}

std::optional<FixedPositionHit> MatchFixedPosition(std::string_view command,
                                                   std::string_view docURL,
                                                   const std::vector<std::string>& xyLines,
                                                   std::vector<PositionTrial>* trials) {
  using Verdict = PositionTrial::Verdict;
  const auto tell = [&](const std::string& line, Verdict verdict) {
    if (trials != nullptr) trials->push_back({line, verdict});
  };
  const std::string_view action = command == "prev"   ? kPrevAction
                                  : command == "next" ? kNextAction
                                                      : std::string_view();
  if (action.empty()) return std::nullopt;

  for (const std::string& line : xyLines) {
    if (line.starts_with('#')) {
      tell(line, Verdict::Comment);
      continue;
    }
    const auto fields = SplitLine(TrimBlanks(line));
    if (!fields) {
      tell(line, Verdict::Malformed);
      continue;
    }
    if (fields->action != action) {
      tell(line, Verdict::OtherAction);
      continue;
    }
    if (fields->pattern.empty()) {
      tell(line, Verdict::NoPattern);
      continue;
    }
    const auto x = ParseCoordinate(fields->x);
    const auto y = ParseCoordinate(fields->y);
    if (!x || !y) {
      tell(line, Verdict::BadCoordinates);
      continue;
    }
    if (!PatternFits(fields->pattern, docURL)) {
      tell(line, Verdict::Misfit);
      continue;
    }
    tell(line, Verdict::Chosen);
    return FixedPositionHit{line, *x, *y};
  }
  return std::nullopt;
}

void ClickAt(WindowMessenger& messenger, WindowHandle w, long x, long y) {
  messenger.PostMessage(w, kWmLButtonDown, kMkLButton, PointParam({1, 1}));
  const ScreenPoint p = messenger.ScreenToClient(w, {x, y});
  PostClick(messenger, w, PointParam(p));
  const WindowHandle child =
      messenger.ChildWindowFromPointEx(w, p, kCwpSkipInvisible | kCwpSkipDisabled);
  if (child == 0 || child == w) return;
  PostClick(messenger, child, PointParam(messenger.ScreenToClient(child, {x, y})));
}

bool RunFixedPositionStage(std::string_view command, std::string_view docURL,
                           const std::vector<std::string>& xyLines, WindowHandle curBrowserWnd,
                           WindowMessenger& messenger, OperationLog& log,
                           std::vector<PositionTrial>* trials) {
  const auto hit = MatchFixedPosition(command, docURL, xyLines, trials);
  if (!hit) return false;
  try {
    log.Append("    执行指令: " + hit->line);
  } catch (...) {
    // The click still goes out when the log cannot take the line.
  }
  ClickAt(messenger, curBrowserWnd, hit->x, hit->y);
  return true;
}

}  // namespace paginor
