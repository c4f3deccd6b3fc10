#pragma once
// The floating box's own stroke recogniser. The pad is small and drawn on with the left
// button, so it forgives more than the receiver's classifier of hook strokes: it looks at
// the whole path, not at four sample points.

#include <span>

#include "hooks/floatCommon.h"
#include "hooks/stroke_tracker.h"

namespace paginor::hooks {

// Shorter strokes are taps.
inline constexpr long kPadMinStroke = 20;
// The main axis must carry at least twice the travel of the other.
inline constexpr long kPadAxisRatio = 2;
// Backtracking along the main axis may reach a quarter of the stroke's length.
inline constexpr long kPadBacktrackDivisor = 4;

FloatGesture ClassifyPadStroke(std::span<const Point> points);

}  // namespace paginor::hooks
