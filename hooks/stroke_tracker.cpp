#include "hooks/stroke_tracker.h"

namespace paginor::hooks {

namespace {

// Chebyshev distance: cheap, and a person aims along one axis anyway.
long Distance(Point a, Point b) {
  const long dx = a.x > b.x ? a.x - b.x : b.x - a.x;
  const long dy = a.y > b.y ? a.y - b.y : b.y - a.y;
  return dx > dy ? dx : dy;
}

}  // namespace

MouseDecision StrokeTracker::OnRightDown(Point p, bool overPage) {
  // A press while one is held back means its release was lost: start over.
  state_ = overPage ? State::Pressed : State::Idle;
  pressedAt_ = p;
  MouseDecision d;
  d.swallow = overPage;
  return d;
}

MouseDecision StrokeTracker::OnMove(Point p) {
  MouseDecision d;
  if (state_ == State::Pressed) {
    if (Distance(p, pressedAt_) < kStrokeStartDistance) return d;
    state_ = State::Stroking;
    d.Report(kStrokeStart, pressedAt_);
    d.Report(kStrokeMove, p);
    lastReported_ = p;
  } else if (state_ == State::Stroking && Distance(p, lastReported_) >= kStrokeStep) {
    d.Report(kStrokeMove, p);
    lastReported_ = p;
  }
  return d;
}

MouseDecision StrokeTracker::OnRightUp(Point p) {
  MouseDecision d;
  if (state_ == State::Pressed) {
    d.swallow = true;
    d.replayClick = true;
  } else if (state_ == State::Stroking) {
    d.swallow = true;
    d.Report(kStrokeEnd, p);
  }
  state_ = State::Idle;
  return d;
}

bool DoubleClickDetector::OnLeftDown(Point p, std::uint32_t timeMs, const Limits& limits) {
  const bool isDouble = armed_ && timeMs - firstTime_ <= limits.timeMs &&
                        2 * (p.x > first_.x ? p.x - first_.x : first_.x - p.x) <= limits.width &&
                        2 * (p.y > first_.y ? p.y - first_.y : first_.y - p.y) <= limits.height;
  armed_ = !isDouble;
  first_ = p;
  firstTime_ = timeMs;
  return isDouble;
}

DoubleClickZone ZoneOf(const Rect& page, Point p) {
  const long width = page.right - page.left;
  const long height = page.bottom - page.top;
  if (width <= 0 || height <= 0 || p.x < page.left || p.x >= page.right || p.y < page.top ||
      p.y >= page.bottom) {
    return DoubleClickZone::Elsewhere;
  }
  // Integer cuts, so every pixel column and row belongs to exactly one zone.
  if ((p.x - page.left) * kZoneWidthDivisor < width * (kZoneWidthDivisor - 1)) {
    return DoubleClickZone::Elsewhere;
  }
  const long band = (p.y - page.top) * kZoneBands / height;
  return static_cast<DoubleClickZone>(band);
}

}  // namespace paginor::hooks
