#include "hooks/key_filter.h"

#include <gtest/gtest.h>

#include <set>

namespace paginor::hooks {
namespace {

// The system's view of the modifiers; a release the hook never saw shows up only here.
class FakeProbe : public ModifierProbe {
 public:
  bool IsDown(unsigned vk) override {
    ++asked;
    return down.count(vk) > 0;
  }
  std::set<unsigned> down;
  int asked = 0;
};

class KeyFilterTest : public ::testing::Test {
 protected:
  bool Press(unsigned vk, std::uint32_t t = 0) { return filter.OnKey({vk, true, t, false}, probe); }
  void Release(unsigned vk, std::uint32_t t = 0) {
    EXPECT_FALSE(filter.OnKey({vk, false, t, false}, probe));
    probe.down.erase(vk);
  }
  bool Tap(unsigned vk, std::uint32_t t = 0) {
    const bool reported = Press(vk, t);
    Release(vk, t);
    return reported;
  }
  void Hold(unsigned modifier) {
    probe.down.insert(modifier);
    EXPECT_FALSE(Press(modifier));
  }

  KeyFilter filter;
  FakeProbe probe;
};

TEST_F(KeyFilterTest, ReportsLettersMainRowDigitsAndEnterOnly) {
  for (unsigned vk = 0; vk < 256; ++vk) {
    const bool expected = vk == 13 || (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z');
    EXPECT_EQ(Tap(vk), expected) << vk;
  }
  // Keypad 1 (97) and F4 (115) have the codes of "a" and "s": they must never pass.
  EXPECT_FALSE(Tap(97));
  EXPECT_FALSE(Tap(115));
  // The keypad's Enter: the code of Enter, with the extended flag.
  EXPECT_FALSE(filter.OnKey({13, true, 0, false, true}, probe));
}

TEST_F(KeyFilterTest, AutoRepeatReportsOnlyTheFirstPress) {
  EXPECT_TRUE(Press('X', 1000));
  EXPECT_FALSE(Press('X', 1500));  // the repeat delay
  EXPECT_FALSE(Press('X', 1533));
  EXPECT_FALSE(Press('X', 1566));
  Release('X', 1600);
  EXPECT_TRUE(Press('X', 1700));
}

TEST_F(KeyFilterTest, RolloverToAnotherKeyCountsAsANewPress) {
  EXPECT_TRUE(Press('S', 0));
  EXPECT_TRUE(Press('X', 50));  // S still held
  EXPECT_FALSE(Press('X', 600));
  Release('S', 650);  // releasing the older key does not end the repeat of X
  EXPECT_FALSE(Press('X', 680));
  Release('X', 700);
  EXPECT_TRUE(Press('S', 750));
}

TEST_F(KeyFilterTest, APressAfterALostReleaseIsNotTakenForARepeat) {
  EXPECT_TRUE(Press('X', 4294967000u));
  // The release went to a secure desktop; the time stamp wraps meanwhile.
  EXPECT_TRUE(Press('X', 5000));
}

TEST_F(KeyFilterTest, NothingWhileControlAltOrWindowsIsHeld) {
  for (const unsigned modifier :
       {kVkControl, kVkAlt, kVkLeftControl, kVkRightControl, kVkLeftAlt, kVkRightAlt, kVkLeftWin, kVkRightWin}) {
    Hold(modifier);
    EXPECT_FALSE(Tap('X')) << modifier;
    EXPECT_FALSE(Tap(13)) << modifier;
    Release(modifier);
    EXPECT_TRUE(Tap('X')) << modifier;
  }
  // Shift only changes the case; the receiver lower-cases the letter anyway.
  EXPECT_FALSE(Press(0xA0));
  EXPECT_TRUE(Tap('X'));
}

TEST_F(KeyFilterTest, AltFlagOfTheEventBlocksEvenWithoutASeenAltPress) {
  EXPECT_FALSE(filter.OnKey({'X', true, 0, true}, probe));
}

TEST_F(KeyFilterTest, ModifierReleasedWhileUnseenIsForgottenOnTheSystemsWord) {
  Hold(kVkLeftControl);
  Hold(kVkLeftAlt);
  EXPECT_FALSE(Tap('X'));
  // Ctrl+Alt+Del: both releases went to the secure desktop.
  probe.down.clear();
  EXPECT_TRUE(Tap('X'));
  const int asked = probe.asked;
  EXPECT_TRUE(Tap('S'));
  EXPECT_EQ(probe.asked, asked) << "the system is asked only while a modifier seems held";
}

TEST(FocusRuleTest, OnlyAFocusedPageWithoutCaretTakesKeys) {
  EXPECT_TRUE(KeyGoesToPage({L"Internet Explorer_Server", false}));
  EXPECT_FALSE(KeyGoesToPage({L"Internet Explorer_Server", true}));  // a text box has focus
  EXPECT_FALSE(KeyGoesToPage({L"Edit", false}));                     // the address bar
  EXPECT_FALSE(KeyGoesToPage({L"Internet Explorer_Server2", false}));
  EXPECT_FALSE(KeyGoesToPage({L"", false}));  // no focus at all
}

// Each kind takes keys and strokes only on its own pages: with Chrome/Edge/Firefox chosen
// a command would otherwise turn the page of a browser the person is not reading.
TEST(FocusRuleTest, TheChosenKindDecidesWhichWindowsArePages) {
  const PageKind ie = PageKind::IeEngine;
  const PageKind modern = PageKind::Modern;
  EXPECT_EQ(RouteKey({L"Internet Explorer_Server", false}, ie), KeyRoute::AskFocusedObject);
  EXPECT_EQ(RouteKey({L"Internet Explorer_Server", true}, ie), KeyRoute::NotPage);
  for (const wchar_t* cls : {L"Chrome_RenderWidgetHostHWND", L"Chrome_WidgetWin_1", L"MozillaWindowClass"}) {
    EXPECT_EQ(RouteKey({cls, false}, ie), KeyRoute::NotPage) << "IE kinds never take keys in another engine";
    // No caret rule here: only the browser's focused object can tell a page from a field.
    EXPECT_EQ(RouteKey({cls, false}, modern), KeyRoute::AskFocusedObject);
    EXPECT_EQ(RouteKey({cls, true}, modern), KeyRoute::AskFocusedObject);
  }
  EXPECT_EQ(RouteKey({L"Internet Explorer_Server", false}, modern), KeyRoute::AskFocusedObject);
  EXPECT_EQ(RouteKey({L"Internet Explorer_Server", true}, modern), KeyRoute::NotPage);
  EXPECT_EQ(RouteKey({L"Chrome_WidgetWin_2", false}, modern), KeyRoute::NotPage);
  EXPECT_EQ(RouteKey({L"", false}, modern), KeyRoute::NotPage);

  EXPECT_TRUE(IsBrowserPageClass(L"Internet Explorer_Server", ie));
  EXPECT_FALSE(IsBrowserPageClass(L"Chrome_RenderWidgetHostHWND", ie));
  EXPECT_TRUE(IsBrowserPageClass(L"Chrome_RenderWidgetHostHWND", modern));
  EXPECT_TRUE(IsBrowserPageClass(L"MozillaWindowClass", modern));
  // Chromium's top-level window holds the tab strip and the toolbar: no strokes there.
  EXPECT_FALSE(IsBrowserPageClass(L"Chrome_WidgetWin_1", modern));
  EXPECT_TRUE(IsBrowserPageClass(L"Internet Explorer_Server", modern));  // Edge's IE mode
}

TEST(FocusRuleTest, OnlyTheModernItemOfTheBrowserChoiceSelectsModernPages) {
  for (int choice = 0; choice < 6; ++choice) EXPECT_EQ(PageKindForChoice(choice), PageKind::IeEngine);
  EXPECT_EQ(PageKindForChoice(6), PageKind::Modern);
  EXPECT_EQ(PageKindForChoice(-1), PageKind::IeEngine);  // nothing chosen
}

}  // namespace
}  // namespace paginor::hooks
