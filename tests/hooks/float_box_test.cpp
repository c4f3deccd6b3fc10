#include "hooks/float_box.h"

#include <gtest/gtest.h>

#include <vector>

#include "hooks/gesture_help.h"
#include "hooks/pad_gesture.h"

namespace paginor::hooks {
namespace {

TEST(FloatBoxTest, LettersPostTheKeyCodeTheKeyboardHookWould) {
  EXPECT_EQ(KeyCodeOfLetter(L"x"), 88u);
  EXPECT_EQ(KeyCodeOfLetter(L"X"), 88u);
  EXPECT_EQ(KeyCodeOfLetter(L"a"), 65u);
  EXPECT_EQ(KeyCodeOfLetter(L"z"), 90u);
  EXPECT_EQ(KeyCodeOfLetter(L"7"), 55u);
  EXPECT_EQ(KeyCodeOfLetter(L"xy"), 88u);
  EXPECT_FALSE(KeyCodeOfLetter(L""));
  EXPECT_FALSE(KeyCodeOfLetter(L"，"));
  EXPECT_FALSE(KeyCodeOfLetter(L"翻"));
  EXPECT_FALSE(KeyCodeOfLetter(L" "));
}

std::vector<unsigned> Keys(std::wstring_view text) {
  const PageKeys k = PageNumberKeys(text);
  return {k.codes.begin(), k.codes.begin() + k.count};
}

TEST(FloatBoxTest, PageNumberIsItsDigitsThenEnter) {
  EXPECT_EQ(Keys(L"12"), (std::vector<unsigned>{'1', '2', 13}));
  EXPECT_EQ(Keys(L" 12345 "), (std::vector<unsigned>{'1', '2', '3', '4', '5', 13}));
  EXPECT_TRUE(Keys(L"123456").empty());
  EXPECT_TRUE(Keys(L"").empty());
  EXPECT_TRUE(Keys(L"  ").empty());
  EXPECT_TRUE(Keys(L"1a").empty()) << "a letter would fire its own command";
  EXPECT_TRUE(Keys(L"-1").empty());
  EXPECT_TRUE(Keys(L"１２").empty()) << "full-width digits are no key codes";
}

TEST(FloatBoxTest, SavedPlaceIsMovedBackOntoTheScreen) {
  const Rect area{0, 0, 1280, 1000};
  const Rect inside{100, 100, 300, 400};
  EXPECT_EQ(KeepOnScreen(inside, area).left, 100);
  const Rect right = KeepOnScreen({2000, 900, 2200, 1200}, area);  // a monitor now gone
  EXPECT_EQ(right.left, 1080);
  EXPECT_EQ(right.right, 1280);
  EXPECT_EQ(right.top, 700);
  EXPECT_EQ(right.bottom, 1000);
  const Rect left = KeepOnScreen({-500, -50, -300, 250}, area);
  EXPECT_EQ(left.left, 0);
  EXPECT_EQ(left.top, 0);
  EXPECT_EQ(left.bottom, 300);
  const Rect huge = KeepOnScreen({-10, 50, 2000, 2000}, {0, 0, 800, 600});
  EXPECT_EQ(huge.left, 0) << "the leading edge stays visible";
  EXPECT_EQ(huge.top, 0);
}

std::vector<Point> Path(Point from, Point to, int steps) {
  std::vector<Point> p;
  for (int i = 0; i <= steps; ++i) {
    p.push_back({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
  }
  return p;
}

TEST(PadGestureTest, StraightStrokesInFourDirections) {
  EXPECT_EQ(ClassifyPadStroke(Path({100, 50}, {20, 60}, 10)), FloatGesture::Left);
  EXPECT_EQ(ClassifyPadStroke(Path({20, 50}, {100, 40}, 3)), FloatGesture::Right);
  EXPECT_EQ(ClassifyPadStroke(Path({50, 100}, {45, 30}, 30)), FloatGesture::Up);
  EXPECT_EQ(ClassifyPadStroke(Path({50, 30}, {55, 100}, 1)), FloatGesture::Down);
}

TEST(PadGestureTest, TapsDiagonalsAndScribblesAreNoGesture) {
  EXPECT_EQ(ClassifyPadStroke({}), FloatGesture::None);
  EXPECT_EQ(ClassifyPadStroke(std::vector<Point>{{5, 5}}), FloatGesture::None);
  EXPECT_EQ(ClassifyPadStroke(Path({50, 50}, {65, 52}, 5)), FloatGesture::None) << "too short";
  EXPECT_EQ(ClassifyPadStroke(Path({0, 0}, {60, 40}, 10)), FloatGesture::None) << "diagonal";
  // Right 60, back left 30, right again 30: ends 60 to the right, but a zigzag.
  std::vector<Point> zigzag = Path({0, 0}, {60, 0}, 6);
  for (const Point p : Path({60, 0}, {30, 0}, 3)) zigzag.push_back(p);
  for (const Point p : Path({30, 0}, {60, 0}, 3)) zigzag.push_back(p);
  EXPECT_EQ(ClassifyPadStroke(zigzag), FloatGesture::None);
  // A small hook at the end is forgiven.
  std::vector<Point> hooked = Path({0, 0}, {80, 0}, 8);
  hooked.push_back({75, 2});
  EXPECT_EQ(ClassifyPadStroke(hooked), FloatGesture::Right);
}

TEST(GestureHelpTest, NamesTheZonesAsTheSettingsDo) {
  const std::string help = GestureHelpText();
  for (const char* zone : {"窗口右上区", "窗口右中区", "窗口右下区", "其它位置", "右五分之一"}) {
    EXPECT_NE(help.find(zone), std::string::npos) << zone;
  }
}

}  // namespace
}  // namespace paginor::hooks
