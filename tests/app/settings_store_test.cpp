#include "app/settings_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/fakes.h"
#include "app/settings_keys.h"

namespace paginor::app {
namespace {

using ::testing::ElementsAre;
using testing::FakeControls;
using testing::FakeNotices;
using testing::FakeProfile;
using testing::FakeTray;

// The window's controls over a profile, wired as the window wires them: an edit change
// runs Edit1Change.
struct Window {
  FakeControls controls;
  FakeNotices notices;
  FakeTray tray;
  SettingsStore store;

  explicit Window(FakeProfile& profile) : store(controls, profile, notices, tray) {
    controls.onTextChange = [this](Control) { store.Edit1Change(); };
  }
  void Start() {
    store.loadingSettings = true;
    store.LoadGeneralSettings();
    store.loadingSettings = false;
  }
  void Select(Control combo, int index) {
    controls.SetItemIndex(combo, index);
    store.cb11Change();
  }
};

int Of(PageCommand c) { return static_cast<int>(c); }

TEST(SettingsStore, ABrowserIndexPastTheLastItemSelectsChromeEdgeFirefox) {
  for (const auto& [stored, shown] : {std::pair{"6", 6}, std::pair{"9", 6}, std::pair{"-1", -1}}) {
    FakeProfile profile;
    profile.values = {{{"浏览器", "默认"}, stored}};
    Window w(profile);
    w.Start();
    EXPECT_EQ(w.controls.ItemIndex(Control::rgpIE), shown) << stored;
  }
}

TEST(SettingsStore, WithoutTheFileEverySettingIsItsDefaultAndMouseApplySucceeds) {
  FakeProfile profile;
  Window w(profile);
  w.controls.state[Control::autoUpgrade].checked = false;  // the file, not the design, decides
  w.Start();

  const DispatchTables& t = w.store.tables();
  EXPECT_THAT(t.keyLetters, ElementsAre("s", "x", "a", "z", "h", "q"));
  EXPECT_TRUE(t.useKeyboard && t.useGestures && t.useDoubleClick);
  EXPECT_EQ(t.gestureOf[Of(PageCommand::Prev)], 0);
  EXPECT_EQ(t.gestureOf[Of(PageCommand::Next)], 1);
  EXPECT_EQ(t.gestureOf[Of(PageCommand::First)], 4);
  EXPECT_EQ(t.gestureOf[Of(PageCommand::Last)], 4);
  EXPECT_EQ(t.gestureOf[Of(PageCommand::Back)], 3);
  EXPECT_EQ(t.gestureOf[Of(PageCommand::Forward)], 2);
  EXPECT_THAT(t.zoneOf, ElementsAre(0, 2, 4, 4, 1, 4));
  EXPECT_EQ(w.controls.ItemIndex(Control::rgpIE), 0);
  EXPECT_TRUE(w.controls.Checked(Control::autoUpgrade));
  EXPECT_FALSE(w.controls.Checked(Control::leftChk));
  EXPECT_FALSE(w.controls.Checked(Control::smartChk));
  EXPECT_FALSE(w.store.pagingDisabled());
  EXPECT_THAT(w.tray.images, ElementsAre(0));
  // Loading is not editing.
  EXPECT_FALSE(w.controls.Enabled(Control::keyBtn1));

  w.store.MouseBtn1Click();
  EXPECT_TRUE(w.notices.notices.empty());
  EXPECT_EQ(profile.Value("鼠标手势", "后退"), "3");
  EXPECT_EQ(profile.Value("鼠标双击", "下页"), "2");
  EXPECT_EQ(profile.Value("鼠标双击", "使用"), "1");
}

TEST(SettingsStore, ValuesAreReadByTheirTypesRules) {
  FakeProfile profile;
  profile.values = {
      {{"键盘", "使用"}, "2"},         // a switch is on only for "1"
      {{"鼠标手势", "使用"}, "0"},
      {{"鼠标手势", "上页"}, "left"},  // not a number: the default
      {{"鼠标手势", "下页"}, " 3"},
      {{"鼠标手势", "首页"}, "7"},     // outside the items: no selection
      {{"浏览器", "默认"}, "5"},
      {{"config", "autoupgrade"}, "0"},
      {{"config", "left"}, "2"},       // any non-zero number is true
      {{"config", "disable"}, "1"},
      {{"config", "smart"}, "1"},
      {{"键盘", "上页"}, ""},          // an empty letter stays empty
  };
  Window w(profile);
  w.Start();

  const DispatchTables& t = w.store.tables();
  EXPECT_FALSE(t.useKeyboard);
  EXPECT_FALSE(t.useGestures);
  EXPECT_TRUE(t.useDoubleClick);
  EXPECT_EQ(t.gestureOf[Of(PageCommand::Prev)], 0);
  EXPECT_EQ(t.gestureOf[Of(PageCommand::Next)], 3);
  EXPECT_EQ(t.gestureOf[Of(PageCommand::First)], -1);
  EXPECT_EQ(t.LetterOf(PageCommand::Prev), "");
  EXPECT_EQ(w.controls.ItemIndex(Control::rgpIE), 5);
  EXPECT_FALSE(w.controls.Checked(Control::autoUpgrade));
  EXPECT_TRUE(w.controls.Checked(Control::leftChk));
  EXPECT_TRUE(w.controls.Checked(Control::smartChk));
  EXPECT_TRUE(w.store.pagingDisabled());
  EXPECT_THAT(w.tray.images, ElementsAre(1));
}

TEST(SettingsStore, DuplicateGesturesOrZonesAreRefusedAndChangeNothing) {
  FakeProfile profile;
  Window w(profile);
  w.Start();
  const DispatchTables before = w.store.tables();

  w.Select(Control::cb13, 0);  // 首页 also "水平向左"
  w.store.MouseBtn1Click();
  EXPECT_THAT(w.notices.notices, ElementsAre("鼠标手势配置有重复，请检查"));
  EXPECT_TRUE(profile.writtenKeys.empty());
  EXPECT_EQ(w.store.tables().gestureOf, before.gestureOf);

  w.Select(Control::cb13, 4);
  w.Select(Control::cb24, 1);  // 末页 and 后退 both "窗口右中区"
  w.store.MouseBtn1Click();
  EXPECT_THAT(w.notices.notices, ElementsAre("鼠标手势配置有重复，请检查", "鼠标双击配置有重复，请检查"));
  EXPECT_TRUE(profile.writtenKeys.empty());

  // A typed text equal to an item is the same gesture to the person.
  w.Select(Control::cb24, 4);
  w.controls.SetText(Control::cb16, "水平向右");
  w.store.MouseBtn1Click();
  EXPECT_EQ(w.notices.notices.size(), 3u);
  EXPECT_TRUE(profile.writtenKeys.empty());
}

TEST(SettingsStore, AnyNumberOfNoneRowsIsAccepted) {
  FakeProfile profile;
  Window w(profile);
  w.Start();
  for (const SettingsRow& row : kSettingsRows) {
    w.Select(row.gestureCombo, kNoneItem);
    w.Select(row.zoneCombo, kNoneItem);
  }
  w.store.MouseBtn1Click();
  EXPECT_TRUE(w.notices.notices.empty());
  EXPECT_EQ(profile.Value("鼠标手势", "上页"), "4");
  EXPECT_THAT(w.store.tables().gestureOf, ElementsAre(4, 4, 4, 4, 4, 4));
}

TEST(SettingsStore, KeyboardApplyKeepsAllSixLettersOverARestart) {
  FakeProfile profile;
  {
    Window w(profile);
    w.Start();
    const char* letters[] = {"b", "n", "f", "l", "w", "k"};  // 上 下 首 末 前进 后退
    for (std::size_t i = 0; i < kSettingsRows.size(); ++i) w.controls.SetText(kSettingsRows[i].letterEdit, letters[i]);
    w.controls.SetChecked(Control::CheckBoxKey, false);
    w.store.keyBtn1Click();
    EXPECT_TRUE(w.controls.Enabled(Control::keyBtn1));  // Apply leaves both buttons on
    EXPECT_THAT(w.store.tables().keyLetters, ElementsAre("b", "n", "f", "l", "k", "w"));
    EXPECT_FALSE(w.store.tables().useKeyboard);
    // Only the keyboard section is written.
    EXPECT_EQ(profile.writtenKeys.size(), 7u);
  }
  Window again(profile);
  again.Start();
  EXPECT_EQ(again.controls.Text(Control::Edit5), "w");
  EXPECT_EQ(again.controls.Text(Control::Edit6), "k");
  EXPECT_THAT(again.store.tables().keyLetters, ElementsAre("b", "n", "f", "l", "k", "w"));
  EXPECT_FALSE(again.controls.Checked(Control::CheckBoxKey));
}

TEST(SettingsStore, CancelRestoresTheStoredLettersAndDisablesBothButtons) {
  FakeProfile profile;
  Window w(profile);
  w.Start();
  w.controls.SetText(Control::Edit2, "m");
  EXPECT_TRUE(w.controls.Enabled(Control::keyBtn1));
  EXPECT_TRUE(w.controls.Enabled(Control::keyBtn2));
  EXPECT_EQ(w.store.tables().LetterOf(PageCommand::Next), "x");  // editing is not applying

  w.store.keyBtn2Click();
  EXPECT_EQ(w.controls.Text(Control::Edit2), "x");
  EXPECT_FALSE(w.controls.Enabled(Control::keyBtn1));
  EXPECT_FALSE(w.controls.Enabled(Control::keyBtn2));
  EXPECT_EQ(w.store.tables().LetterOf(PageCommand::Next), "x");
  EXPECT_TRUE(profile.writtenKeys.empty());
}

TEST(SettingsStore, MouseCancelRestoresTheFileAndMouseApplyTakesUnappliedLetters) {
  FakeProfile profile;
  Window w(profile);
  w.Start();
  w.Select(Control::cb11, 3);
  w.Select(Control::cb16, 0);
  EXPECT_TRUE(w.controls.Enabled(Control::MouseBtn1));
  w.store.MouseBtn2Click();
  EXPECT_EQ(w.controls.ItemIndex(Control::cb11), 0);
  EXPECT_EQ(w.controls.ItemIndex(Control::cb16), 3);
  EXPECT_FALSE(w.controls.Enabled(Control::MouseBtn1));
  EXPECT_FALSE(w.controls.Enabled(Control::MouseBtn2));

  w.controls.SetText(Control::Edit1, "p");
  w.store.MouseBtn1Click();
  EXPECT_EQ(w.store.tables().LetterOf(PageCommand::Prev), "p");
  EXPECT_EQ(profile.Value("键盘", "上页"), "<missing>");
}

TEST(SettingsStore, AFailedApplyWriteIsReportedAndLeavesTheDispatchAlone) {
  FakeProfile profile;
  Window w(profile);
  w.Start();
  w.controls.SetText(Control::Edit1, "p");
  w.controls.SetText(Control::Edit4, "e");
  profile.failAtWrite = 3;  // 上页, 下页 and 首页 reach the file, 末页 does not
  w.store.keyBtn1Click();
  EXPECT_THAT(w.notices.errors, ElementsAre("Unable to write to C:\\Paginor\\tpnav.ini"));
  EXPECT_EQ(profile.Value("键盘", "上页"), "p");
  EXPECT_EQ(profile.Value("键盘", "末页"), "<missing>");
  EXPECT_EQ(w.store.tables().LetterOf(PageCommand::Prev), "s");

  w.Select(Control::cb11, 3);
  w.Select(Control::cb16, 0);
  w.store.MouseBtn1Click();
  EXPECT_EQ(w.notices.errors.size(), 2u);
  EXPECT_EQ(w.store.tables().GestureOf(PageCommand::Prev), 0);
}

TEST(SettingsStore, TheOptionsWrittenAtCloseComeBackAtTheNextStart) {
  FakeProfile profile;
  {
    Window w(profile);
    w.Start();
    w.controls.SetItemIndex(Control::rgpIE, 3);
    w.controls.SetChecked(Control::autoUpgrade, false);
    w.controls.SetChecked(Control::leftChk, true);
    w.controls.SetChecked(Control::smartChk, true);
    w.store.SetPagingDisabled(true);
    EXPECT_TRUE(w.store.SaveOnClose());
  }
  EXPECT_EQ(profile.Value("浏览器", "默认"), "3");
  EXPECT_EQ(profile.Value("config", "autoupgrade"), "0");
  EXPECT_EQ(profile.Value("config", "smart"), "1");
  Window again(profile);
  again.Start();
  EXPECT_EQ(again.controls.ItemIndex(Control::rgpIE), 3);
  EXPECT_FALSE(again.controls.Checked(Control::autoUpgrade));
  EXPECT_TRUE(again.controls.Checked(Control::leftChk));
  EXPECT_TRUE(again.controls.Checked(Control::smartChk));
  EXPECT_TRUE(again.store.pagingDisabled());

  profile.failAtWrite = profile.entriesWritten;
  EXPECT_FALSE(again.store.SaveOnClose());
}

}  // namespace
}  // namespace paginor::app
