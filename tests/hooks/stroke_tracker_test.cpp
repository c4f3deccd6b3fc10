#include "hooks/stroke_tracker.h"

#include <gtest/gtest.h>

#include <vector>

namespace paginor::hooks {
namespace {

// The receiver's side: it keeps at most 500 move points from a start to an end and
// accepts a stroke whose quarter, half and three-quarter points progress strictly along
// the main axis. Strokes the hook reports must survive this.
class Receiver {
 public:
  void Take(const MouseDecision& d) {
    for (int i = 0; i < d.count; ++i) {
      const StrokeReport& r = d.reports[i];
      if (r.event == kStrokeStart) points_.clear();
      if (r.event == kStrokeMove && points_.size() < 500) points_.push_back(r.at);
      if (r.event == kStrokeEnd) gestures.push_back(Classify());
    }
  }
  std::vector<int> gestures;

 private:
  int Classify() const {
    const std::size_t n = points_.size();
    if (n < 5) return 0;
    const Point p1 = points_[0], pn = points_[n - 1];
    const Point a = points_[n / 4 - 1], b = points_[n / 2 - 1], c = points_[3 * n / 4 - 1];
    const long dx = std::labs(p1.x - pn.x), dy = std::labs(p1.y - pn.y);
    if (dx == dy) return 0;
    if (dy < dx) {
      if (p1.x > pn.x) return p1.x > a.x && a.x > b.x && b.x > c.x ? 1 : 0;
      return p1.x < a.x && a.x < b.x && b.x < c.x ? 2 : 0;
    }
    if (p1.y > pn.y) return p1.y > a.y && a.y > b.y && b.y > c.y ? 3 : 0;
    return p1.y < a.y && a.y < b.y && b.y < c.y ? 4 : 0;
  }
  std::vector<Point> points_;
};

TEST(StrokeTrackerTest, ARightClickWithoutMovementIsReplayedAndNotReported) {
  StrokeTracker t;
  EXPECT_TRUE(t.OnRightDown({100, 100}, true).swallow);
  EXPECT_EQ(t.OnMove({105, 96}).count, 0);  // a wobble is not a stroke
  const MouseDecision up = t.OnRightUp({105, 96});
  EXPECT_TRUE(up.swallow);
  EXPECT_TRUE(up.replayClick);
  EXPECT_EQ(up.count, 0);
  EXPECT_FALSE(t.Pending());
}

TEST(StrokeTrackerTest, OffThePageNothingIsHeldBackOrReported) {
  StrokeTracker t;
  EXPECT_FALSE(t.OnRightDown({100, 100}, false).swallow);
  EXPECT_EQ(t.OnMove({300, 100}).count, 0);
  const MouseDecision up = t.OnRightUp({300, 100});
  EXPECT_FALSE(up.swallow);
  EXPECT_FALSE(up.replayClick);
  EXPECT_EQ(up.count, 0);
}

TEST(StrokeTrackerTest, AStrokeStartsAtThePressPointAndEndsSwallowed) {
  StrokeTracker t;
  t.OnRightDown({200, 100}, true);
  const MouseDecision start = t.OnMove({190, 101});
  ASSERT_EQ(start.count, 2);
  EXPECT_EQ(start.reports[0].event, kStrokeStart);
  EXPECT_EQ(start.reports[0].at, (Point{200, 100}));
  EXPECT_EQ(start.reports[1].event, kStrokeMove);
  EXPECT_EQ(start.reports[1].at, (Point{190, 101}));
  EXPECT_FALSE(start.swallow) << "the pointer must keep moving";
  EXPECT_EQ(t.OnMove({189, 101}).count, 0) << "closer than a step";
  EXPECT_EQ(t.OnMove({187, 101}).count, 1);
  const MouseDecision end = t.OnRightUp({187, 101});
  EXPECT_TRUE(end.swallow);
  EXPECT_FALSE(end.replayClick);
  ASSERT_EQ(end.count, 1);
  EXPECT_EQ(end.reports[0].event, kStrokeEnd);
  EXPECT_EQ(end.reports[0].at, (Point{187, 101}));
}

TEST(StrokeTrackerTest, APressAfterALostReleaseStartsOver) {
  StrokeTracker t;
  t.OnRightDown({0, 0}, true);
  t.OnMove({50, 0});
  EXPECT_TRUE(t.Stroking());
  EXPECT_FALSE(t.OnRightDown({500, 500}, false).swallow);
  EXPECT_EQ(t.OnMove({600, 500}).count, 0);
  EXPECT_FALSE(t.OnRightUp({600, 500}).swallow);
}

// Strokes as a hand draws them: a mouse reports every pixel when slow and jumps when fast.
TEST(StrokeTrackerTest, ReceiverRecognisesStrokesOfEverySpeedAndLength) {
  struct Case {
    long dx, dy, step;
    int gesture;
  };
  for (const Case c : {Case{-1, 0, 1, 1}, Case{1, 0, 1, 2}, Case{0, -1, 1, 3}, Case{0, 1, 1, 4},
                       Case{-1, 0, 25, 1}, Case{0, 1, 40, 4}}) {
    for (const long length : {40L, 120L, 400L, 3000L}) {
      if (length < 10 * c.step) continue;  // a flick of a few events is no stroke
      StrokeTracker t;
      Receiver r;
      const Point origin{4000, 4000};
      t.OnRightDown(origin, true);
      for (long s = c.step; s <= length; s += c.step) {
        // A slight drift across the main axis, as a hand never draws straight.
        const long drift = (s / 7) % 3;
        r.Take(t.OnMove({origin.x + c.dx * s + c.dy * drift, origin.y + c.dy * s + c.dx * drift}));
      }
      r.Take(t.OnRightUp({origin.x + c.dx * length, origin.y + c.dy * length}));
      ASSERT_EQ(r.gestures.size(), 1u);
      EXPECT_EQ(r.gestures[0], c.gesture) << c.dx << "," << c.dy << " step " << c.step
                                          << " length " << length;
    }
  }
}

TEST(DoubleClickDetectorTest, TwoPressesCloseInTimeAndPlace) {
  const DoubleClickDetector::Limits limits{500, 4, 4};
  DoubleClickDetector d;
  EXPECT_FALSE(d.OnLeftDown({10, 10}, 1000, limits));
  EXPECT_TRUE(d.OnLeftDown({12, 8}, 1500, limits));
  EXPECT_FALSE(d.OnLeftDown({12, 8}, 1600, limits)) << "a third press starts afresh";
  EXPECT_TRUE(d.OnLeftDown({12, 8}, 1700, limits));

  EXPECT_FALSE(d.OnLeftDown({10, 10}, 5000, limits));
  EXPECT_FALSE(d.OnLeftDown({10, 10}, 5501, limits)) << "too slow";
  EXPECT_TRUE(d.OnLeftDown({10, 10}, 5600, limits)) << "the slow second press arms anew";

  EXPECT_FALSE(d.OnLeftDown({10, 10}, 9000, limits));
  EXPECT_FALSE(d.OnLeftDown({13, 10}, 9100, limits)) << "outside the rectangle";

  EXPECT_FALSE(d.OnLeftDown({0, 0}, 4294967200u, limits));
  EXPECT_TRUE(d.OnLeftDown({0, 0}, 100, limits)) << "across the wrap of the time stamp";
}

TEST(ZoneTest, RightFifthInThreeBands) {
  const Rect page{100, 50, 1100, 650};  // 1000 x 600
  EXPECT_EQ(ZoneOf(page, {1099, 50}), DoubleClickZone::RightTop);
  EXPECT_EQ(ZoneOf(page, {900, 249}), DoubleClickZone::RightTop);
  EXPECT_EQ(ZoneOf(page, {899, 100}), DoubleClickZone::Elsewhere);
  EXPECT_EQ(ZoneOf(page, {900, 250}), DoubleClickZone::RightMiddle);
  EXPECT_EQ(ZoneOf(page, {1000, 449}), DoubleClickZone::RightMiddle);
  EXPECT_EQ(ZoneOf(page, {1000, 450}), DoubleClickZone::RightBottom);
  EXPECT_EQ(ZoneOf(page, {1099, 649}), DoubleClickZone::RightBottom);
  EXPECT_EQ(ZoneOf(page, {500, 300}), DoubleClickZone::Elsewhere);
  // Outside the page window, or a window with no area.
  EXPECT_EQ(ZoneOf(page, {1100, 100}), DoubleClickZone::Elsewhere);
  EXPECT_EQ(ZoneOf(page, {1000, 650}), DoubleClickZone::Elsewhere);
  EXPECT_EQ(ZoneOf({0, 0, 0, 0}, {0, 0}), DoubleClickZone::Elsewhere);
  // Tiny and negative-placed windows still split without gaps.
  const Rect small{-50, -30, -45, -27};  // 5 x 3
  EXPECT_EQ(ZoneOf(small, {-46, -30}), DoubleClickZone::RightTop);
  EXPECT_EQ(ZoneOf(small, {-46, -29}), DoubleClickZone::RightMiddle);
  EXPECT_EQ(ZoneOf(small, {-46, -28}), DoubleClickZone::RightBottom);
  EXPECT_EQ(ZoneOf(small, {-47, -28}), DoubleClickZone::Elsewhere);
}

}  // namespace
}  // namespace paginor::hooks
