#pragma once
// Right-button strokes, decided inside the mouse hook callback: pure and allocation-free.
//
// A right press over a browser page is held back: the page sees nothing yet. Once the
// pointer has travelled kStrokeStartDistance from the press, the stroke starts (the
// press point is reported as kStrokeStart) and every further step of kStrokeStep is
// reported as a move; the release is swallowed and reported as kStrokeEnd, so no context
// menu opens. A release before the stroke started is swallowed too and the hook replays
// the whole right click, marked as its own, so the page opens its context menu as usual.

#include <cstdint>

#include "hooks/MouseHookCommon.h"

namespace paginor::hooks {

struct Point {
  long x = 0;
  long y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// A right click that wobbles less than this is still a click.
inline constexpr long kStrokeStartDistance = 10;
// Moves closer than this to the last reported point are not reported: the receiver keeps
// 500 points and judges a stroke by its quarter points, so jitter only wastes them.
inline constexpr long kStrokeStep = 3;

struct StrokeReport {
  unsigned event = 0;  // kStrokeMove, kStrokeStart or kStrokeEnd
  Point at;
};

struct MouseDecision {
  bool swallow = false;      // the event never reaches the windows
  bool replayClick = false;  // replay a right click where the pointer is, after the callback
  int count = 0;             // reports, in order
  StrokeReport reports[2];

  void Report(unsigned event, Point p) { reports[count++] = {event, p}; }
};

class StrokeTracker {
 public:
  // overPage: the window under the point is a browser page.
  MouseDecision OnRightDown(Point p, bool overPage);
  MouseDecision OnMove(Point p);
  MouseDecision OnRightUp(Point p);

  bool Pending() const { return state_ == State::Pressed; }
  bool Stroking() const { return state_ == State::Stroking; }

 private:
  enum class State { Idle, Pressed, Stroking };
  State state_ = State::Idle;
  Point pressedAt_;
  Point lastReported_;
};

// Double clicks of the left button, found from the presses alone: a low-level hook never
// sees the double-click message the window's queue would make. Two presses make a double
// click when the second comes within the system's double-click time and rectangle; a
// third press starts afresh, as Windows does.
class DoubleClickDetector {
 public:
  struct Limits {
    std::uint32_t timeMs = 500;
    long width = 4;   // the whole rectangle, centred on the first press
    long height = 4;
  };

  bool OnLeftDown(Point p, std::uint32_t timeMs, const Limits& limits);

 private:
  bool armed_ = false;
  Point first_;
  std::uint32_t firstTime_ = 0;
};

struct Rect {
  long left = 0;
  long top = 0;
  long right = 0;
  long bottom = 0;
};

// The zones: the right fifth of the page window, cut into three equal bands from top to
// bottom (right-top, right-middle, right-bottom); everything else is "elsewhere".
inline constexpr long kZoneWidthDivisor = 5;
inline constexpr long kZoneBands = 3;

DoubleClickZone ZoneOf(const Rect& page, Point p);

}  // namespace paginor::hooks
