#pragma once
// Mouse strokes as the mouse hook reports them, and their classification.

#include <array>
#include <cstdint>
#include <span>

namespace paginor::app {

struct StrokePoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

inline constexpr int kMaxStrokePoints = 500;

// 0 no gesture, 1 left, 2 right, 3 up, 4 down. A stroke must run strictly one way at its
// quarter, half and three-quarter points, so it needs at least eight points.
int ClassifyStroke(std::span<const StrokePoint> points);

// The points of one stroke, from a button-down to the next; fixed storage, since a move
// arrives for every pixel the mouse crosses.
class StrokeRecorder {
 public:
  void Start();
  // Ignored outside a stroke and beyond the 500th point.
  void Move(std::intptr_t packedPoint);
  // Classifies the points since the last Start; they stay, so a second End gives the same.
  int End();

 private:
  std::array<StrokePoint, kMaxStrokePoints> points_{};
  int count_ = 0;
  bool tracking_ = false;
};

}  // namespace paginor::app
