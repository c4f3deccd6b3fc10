#include "app/input_dispatch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "app/fakes.h"
#include "hooks/MouseHookCommon.h"
#include "hooks/keyHookCommon.h"

namespace paginor::app {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Received {
  std::string command;
  Origin origin;
  bool operator==(const Received&) const = default;
};

class RecordingReceiver : public CommandReceiver {
 public:
  std::vector<Received> commands;
  void ReceiveCommand(std::string_view command, Origin origin) override {
    commands.push_back({std::string(command), origin});
  }
};

struct FixedCursor : CursorReader {
  ScreenPoint at{321, 654};
  ScreenPoint CursorPos() const override { return at; }
};

struct ManualClock : TickClock {
  std::int64_t now = 1'000'000;
  std::int64_t Milliseconds() const override { return now; }
};

Received Key(const char* command) { return {command, Origin::Keyboard}; }
Received Mouse(const char* command) { return {command, Origin::Mouse}; }

// The window with its default settings (no tpnav.ini) and a dispatch over them.
struct Window {
  testing::FakeControls controls;
  testing::FakeProfile profile;
  testing::FakeNotices notices;
  testing::FakeTray tray;
  SettingsStore settings{controls, profile, notices, tray};
  FixedCursor cursor;
  ManualClock clock;
  RecordingReceiver receiver;
  InputDispatch dispatch{{settings, controls, cursor, clock, receiver}};

  Window() {
    settings.loadingSettings = true;
    settings.LoadGeneralSettings();
    settings.loadingSettings = false;
  }
  void Type(const std::string& keys) {
    for (char c : keys) Press(static_cast<unsigned char>(c));
  }
  void Press(unsigned key) { dispatch.Dispatch(InputMessage::KeyHook, key, 0); }
  void Stroke(const std::vector<StrokePoint>& points) {
    dispatch.Dispatch(InputMessage::MouseHook1, hooks::kStrokeStart, 0);
    for (const StrokePoint& p : points) {
      dispatch.Dispatch(InputMessage::MouseHook1, hooks::kStrokeMove,
                        hooks::PackStrokePoint(p.x, p.y));
    }
    dispatch.Dispatch(InputMessage::MouseHook1, hooks::kStrokeEnd, 0);
  }
  // Applies a letter edit as the keyboard tab's Apply does.
  void SetLetter(Control edit, const char* letter) {
    controls.SetText(edit, letter);
    settings.keyBtn1Click();
  }
};

std::vector<StrokePoint> Line(int count, int x0, int y0, int dx, int dy) {
  std::vector<StrokePoint> points;
  for (int i = 0; i < count; ++i) points.push_back({x0 + i * dx, y0 + i * dy});
  return points;
}

TEST(InputDispatch, DefaultLettersAreReportedAsUpperCaseKeyCodes) {
  Window w;
  w.Type("XSAZHQ");
  EXPECT_THAT(w.receiver.commands, ElementsAre(Key("next"), Key("prev"), Key("first"), Key("last"),
                                               Key("back"), Key("forward")));
  w.receiver.commands.clear();
  // The floating box's keys are keyboard commands too.
  w.dispatch.Dispatch(InputMessage::FloatKey, 'X', 0);
  EXPECT_THAT(w.receiver.commands, ElementsAre(Key("next")));
}

TEST(InputDispatch, SharedLetterGoesToTheEarlierCommandAndUpperCaseEditsNeverMatch) {
  Window w;
  w.controls.SetText(Control::Edit2, "s");  // "next" shares "prev"'s letter
  w.controls.SetText(Control::Edit3, "A");  // an upper-case letter can never match
  w.settings.keyBtn1Click();
  w.Press('S');
  w.Press('A');
  EXPECT_THAT(w.receiver.commands, ElementsAre(Key("prev")));
}

TEST(InputDispatch, PageNumbersCollectFiveDigitsWithinThreeSecondsOfTheFirst) {
  Window w;
  w.Type("123456\r");
  EXPECT_THAT(w.receiver.commands, ElementsAre(Key("12345")));

  w.receiver.commands.clear();
  w.Type("12");
  w.clock.now += 2500;
  w.Press(hooks::kVkEnter);
  w.Type("12");
  w.clock.now += 3500;  // counted from the first digit: too late, dropped silently
  w.Press(hooks::kVkEnter);
  w.Press(hooks::kVkEnter);  // Enter alone does nothing
  EXPECT_THAT(w.receiver.commands, ElementsAre(Key("12")));
}

TEST(InputDispatch, AnotherKeyDiscardsTheDigitsAndStillActsAsALetter) {
  Window w;
  w.Type("1A2\r");
  EXPECT_THAT(w.receiver.commands, ElementsAre(Key("first"), Key("2")));
}

TEST(InputDispatch, CaptureKeyWorksWithKeyboardOffButNotWhilePagingIsDisabled) {
  Window w;
  w.controls.SetChecked(Control::CheckBoxKey, false);
  w.settings.keyBtn1Click();
  w.Press('R');  // the default capture key is "r"
  EXPECT_EQ(w.controls.Text(Control::xEdit), "321");
  EXPECT_EQ(w.controls.Text(Control::yEdit), "654");
  w.Type("X12\r");
  EXPECT_THAT(w.receiver.commands, IsEmpty());

  w.controls.SetText(Control::xEdit, "");
  w.settings.SetPagingDisabled(true);
  w.Press('R');
  w.Press('X');
  EXPECT_EQ(w.controls.Text(Control::xEdit), "");
  EXPECT_THAT(w.receiver.commands, IsEmpty());
}

TEST(InputDispatch, CaptureKeyLeavesTheDigitBufferAlone) {
  Window w;
  w.Type("4R2\r");
  EXPECT_THAT(w.receiver.commands, ElementsAre(Key("42")));
}

TEST(InputDispatch, StrokesNeedEightStrictlyMonotonicPoints) {
  Window w;
  w.Stroke(Line(8, 500, 300, -10, 1));  // left: "prev" by default
  w.Stroke(Line(7, 500, 300, -10, 0));  // seven points never qualify
  w.Stroke(Line(8, 100, 100, 10, 10));  // equal extents
  EXPECT_THAT(w.receiver.commands, ElementsAre(Mouse("prev")));
}

TEST(InputDispatch, AStrokeThatWaversAtItsMiddleIsNotRecognised) {
  std::vector<StrokePoint> points = Line(12, 100, 500, 0, -20);
  EXPECT_EQ(ClassifyStroke(points), 3);
  points[5].y = points[2].y + 5;  // the half point (sixth of 12) falls back past the quarter
  EXPECT_EQ(ClassifyStroke(points), 0);
  EXPECT_EQ(ClassifyStroke(Line(12, 100, 100, 0, 20)), 4);
  EXPECT_EQ(ClassifyStroke(Line(12, 100, 100, 20, 0)), 2);
}

TEST(InputDispatch, StrokePointsAreUnsignedSixteenBitAndCappedAtFiveHundred) {
  Window w;
  // On a monitor left of the first, x arrives as large unsigned values that still grow
  // to the right.
  w.Stroke(Line(10, -50, 300, 1, 0));
  EXPECT_THAT(w.receiver.commands, ElementsAre(Mouse("next")));

  // 600 moves right after 500 moves left: only the first 500 count.
  std::vector<StrokePoint> points = Line(500, 5000, 300, -5, 0);
  const std::vector<StrokePoint> back = Line(600, 2500, 300, 10, 0);
  points.insert(points.end(), back.begin(), back.end());
  w.Stroke(points);
  EXPECT_THAT(w.receiver.commands, ElementsAre(Mouse("next"), Mouse("prev")));
}

TEST(InputDispatch, ButtonUpWithoutButtonDownClassifiesTheSamePointsAgain) {
  Window w;
  w.Stroke(Line(9, 100, 100, 0, 15));  // down: "back" by default
  w.dispatch.Dispatch(InputMessage::MouseHook1, hooks::kStrokeEnd, 0);
  // Moves between strokes are not recorded.
  w.dispatch.Dispatch(InputMessage::MouseHook1, hooks::kStrokeMove, hooks::PackStrokePoint(1, 1));
  w.dispatch.Dispatch(InputMessage::MouseHook1, hooks::kStrokeEnd, 0);
  EXPECT_THAT(w.receiver.commands, ElementsAre(Mouse("back"), Mouse("back"), Mouse("back")));
}

TEST(InputDispatch, ZonesAndFloatingGesturesFollowTheirTables) {
  Window w;
  w.dispatch.Dispatch(InputMessage::MouseHook3, 1, 0);  // right-middle: "back"
  w.dispatch.Dispatch(InputMessage::MouseHook3, 0, 0);  // right-top: "prev"
  w.dispatch.Dispatch(InputMessage::FloatMouse, 3, 0);  // up: "forward"
  w.dispatch.Dispatch(InputMessage::FloatMouse, 0, 0);
  EXPECT_THAT(w.receiver.commands, ElementsAre(Mouse("back"), Mouse("prev"), Mouse("forward")));
}

TEST(InputDispatch, CodesOutsideTheReportedRangeNeverMatchCommandsSetToNone) {
  Window w;
  // "first" and "last" are "无" (4) for both zone and gesture by default.
  w.dispatch.Dispatch(InputMessage::MouseHook3, 4, 0);
  w.dispatch.Dispatch(InputMessage::FloatMouse, 5, 0);
  w.dispatch.Dispatch(InputMessage::MouseHook2, 0, 0);
  w.dispatch.Dispatch(InputMessage::MouseHook1, 999, 0);
  EXPECT_THAT(w.receiver.commands, IsEmpty());
}

TEST(InputDispatch, SwitchesTurnOffTheirOwnInputOnly) {
  Window w;
  w.controls.SetChecked(Control::CheckBoxMouse1, false);  // gestures
  w.settings.MouseBtn1Click();
  w.Stroke(Line(8, 500, 300, -10, 0));
  w.dispatch.Dispatch(InputMessage::FloatMouse, 1, 0);
  w.dispatch.Dispatch(InputMessage::MouseHook3, 0, 0);
  w.Press('X');
  EXPECT_THAT(w.receiver.commands, ElementsAre(Mouse("prev"), Key("next")));
}

}  // namespace
}  // namespace paginor::app
