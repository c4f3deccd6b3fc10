#pragma once
// Fixed-position commands: for pages that turn with a control that is not a link, a
// recorded screen position is clicked when the page address fits the line's pattern.
// A line is: action "," x "," y "," pattern (the pattern may itself hold commas).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/browser_model.h"
#include "engine/operation_log.h"
#include "engine/window_messenger.h"

namespace paginor {

inline constexpr std::string_view kPrevAction = "上一页";
inline constexpr std::string_view kNextAction = "下一页";

// The line the generator appends, or nothing when a field is empty. The texts are not
// checked: a line with unusable coordinates is simply never chosen.
std::optional<std::string> GenerateFixedPositionLine(std::string_view xText, std::string_view yText,
                                                     std::string_view pattern,
                                                     bool previousPageSelected);

struct FixedPositionHit {
  std::string line;  // as stored
  long x = 0;
  long y = 0;
};

// How one line fared, for explanations.
struct PositionTrial {
  enum class Verdict { Comment, Malformed, OtherAction, NoPattern, BadCoordinates, Misfit, Chosen };
  std::string line;
  Verdict verdict = Verdict::Malformed;
};

// The first usable line for "prev" or "next" whose pattern fits docURL. A pattern with a
// wildcard fits as a URL template does; one without fits only the address it names, which
// may differ from docURL by a trailing "#fragment" unless the pattern names one itself.
// trials, when given, receives every line looked at.
std::optional<FixedPositionHit> MatchFixedPosition(std::string_view command,
                                                   std::string_view docURL,
                                                   const std::vector<std::string>& xyLines,
                                                   std::vector<PositionTrial>* trials = nullptr);

// A coordinate field: decimal, leading blanks allowed; nothing when negative, not a
// number or beyond 32 bits.
std::optional<long> ParseCoordinate(std::string_view text);

// Posts, never sends, a left click at the screen point to w, and to the child window of w
// under the point when there is one.
void ClickAt(WindowMessenger& messenger, WindowHandle w, long x, long y);

// The last fallback stage of "prev" and "next": logs and clicks the first matching line.
bool RunFixedPositionStage(std::string_view command, std::string_view docURL,
                           const std::vector<std::string>& xyLines, WindowHandle curBrowserWnd,
                           WindowMessenger& messenger, OperationLog& log,
                           std::vector<PositionTrial>* trials = nullptr);

}  // namespace paginor
