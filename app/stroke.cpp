#include "app/stroke.h"

#include <cstdlib>

namespace paginor::app {

namespace {

// Strictly monotonic through the first point and the three inner points.
bool Falling(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
  return a > b && b > c && c > d;
}
bool Rising(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
  return a < b && b < c && c < d;
}

}  // namespace

int ClassifyStroke(std::span<const StrokePoint> points) {
  const std::size_t n = points.size();
  if (n < 5) return 0;
  // Points are numbered from 1: point k is points[k - 1].
  const StrokePoint& p1 = points[0];
  const StrokePoint& pn = points[n - 1];
  const StrokePoint& pa = points[n / 4 - 1];
  const StrokePoint& pb = points[n / 2 - 1];
  const StrokePoint& pc = points[3 * n / 4 - 1];
  const std::int64_t dx = std::llabs(std::int64_t{p1.x} - pn.x);
  const std::int64_t dy = std::llabs(std::int64_t{p1.y} - pn.y);
  if (dx == dy) return 0;
  if (dy < dx) {
    if (p1.x > pn.x) return Falling(p1.x, pa.x, pb.x, pc.x) ? 1 : 0;
    return Rising(p1.x, pa.x, pb.x, pc.x) ? 2 : 0;
  }
  // Screen y grows downward.
  if (p1.y > pn.y) return Falling(p1.y, pa.y, pb.y, pc.y) ? 3 : 0;
  return Rising(p1.y, pa.y, pb.y, pc.y) ? 4 : 0;
}

void StrokeRecorder::Start() {
  count_ = 0;
  tracking_ = true;
}

void StrokeRecorder::Move(std::intptr_t packedPoint) {
  if (!tracking_ || count_ >= kMaxStrokePoints) return;
  const auto bits = static_cast<std::uintptr_t>(packedPoint);
  points_[static_cast<std::size_t>(count_)] = {static_cast<std::int32_t>(bits & 0xFFFF),
                                               static_cast<std::int32_t>((bits >> 16) & 0xFFFF)};
  ++count_;
}

int StrokeRecorder::End() {
  tracking_ = false;
  return ClassifyStroke(std::span<const StrokePoint>(points_.data(), static_cast<std::size_t>(count_)));
}

}  // namespace paginor::app
