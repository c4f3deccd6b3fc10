#include "hooks/pad_gesture.h"

namespace paginor::hooks {

namespace {
long Abs(long v) { return v < 0 ? -v : v; }
}  // namespace

FloatGesture ClassifyPadStroke(std::span<const Point> points) {
  if (points.size() < 2) return FloatGesture::None;
  const Point first = points.front();
  const Point last = points.back();
  const long dx = last.x - first.x;
  const long dy = last.y - first.y;
  const bool horizontal = Abs(dx) >= Abs(dy);
  const long along = horizontal ? dx : dy;
  const long across = horizontal ? dy : dx;
  if (Abs(along) < kPadMinStroke || Abs(along) < kPadAxisRatio * Abs(across)) {
    return FloatGesture::None;
  }
  // Travel against the stroke's direction, summed over the path.
  long backtrack = 0;
  for (std::size_t i = 1; i < points.size(); ++i) {
    const long step = horizontal ? points[i].x - points[i - 1].x : points[i].y - points[i - 1].y;
    if ((step < 0) != (along < 0) && step != 0) backtrack += Abs(step);
  }
  if (backtrack * kPadBacktrackDivisor > Abs(along)) return FloatGesture::None;
  if (horizontal) return along < 0 ? FloatGesture::Left : FloatGesture::Right;
  return along < 0 ? FloatGesture::Up : FloatGesture::Down;  // screen y grows downward
}

}  // namespace paginor::hooks
