#include "app/update_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/fakes.h"
#include "app/tray_control.h"
#include "calc/conversions.h"

namespace paginor::app {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Started {
  std::string path;
  std::string arguments;
  bool operator==(const Started&) const = default;
};

class FakeLauncher : public Launcher {
 public:
  std::set<std::string> files;
  std::vector<Started> launches;
  bool FileExists(const std::string& path) const override { return files.count(path) > 0; }
  bool Launch(const std::string& path, const std::string& arguments) override {
    launches.push_back({path, arguments});
    return true;
  }
  bool Open(const std::string& path) override { return Launch(path, "<opened>"); }
};

struct FixedClock : calc::Clock {
  calc::Extended now = 0;
  calc::Extended Now() const override { return now; }
};

struct CountingMinimizer : Minimizer {
  int count = 0;
  void MinimizeToTray() override { ++count; }
};

calc::Extended Day(int year, int month, int day) {
  return *calc::PartsToStamp({year, month, day, 10, 30, 0, 0});
}

TEST(UpdateCheck, DueWhenTheStoredDateIsMoreThanFifteenDaysOld) {
  const calc::Extended now = Day(2026, 3, 10);
  EXPECT_EQ(UpdateCutoff(now), "20260223");
  EXPECT_TRUE(UpdateIsDue("", now));  // never updated
  EXPECT_TRUE(UpdateIsDue("20260222", now));
  EXPECT_FALSE(UpdateIsDue("20260223", now));
  EXPECT_FALSE(UpdateIsDue("20260310", now));
}

struct Program {
  FakeLauncher launcher;
  testing::FakeNotices notices;
  testing::FakeProfile renewerIni;
  FixedClock clock;
  CountingMinimizer minimizer;
  Updater updater{{"C:\\My Tools\\", 1234, launcher, notices, renewerIni, clock, minimizer}};
  Program() { clock.now = Day(2026, 12, 8); }
};

TEST(UpdateCheck, FirstShowingLaunchesTheUpdaterQuotedAndMinimizes) {
  Program p;
  p.launcher.files.insert("C:\\My Tools\\renewer.exe");
  ASSERT_TRUE(p.updater.FormShow());
  EXPECT_FALSE(p.updater.FormShow());  // a running timer is not restarted
  p.updater.updateTimerTimer(true);
  EXPECT_THAT(p.launcher.launches,
              ElementsAre(Started{"C:\\My Tools\\renewer.exe", "1234 renewer_tpnav.ini"}));
  EXPECT_EQ(p.minimizer.count, 1);
  EXPECT_TRUE(p.updater.FormShow());  // the next showing arms it again
}

TEST(UpdateCheck, TodayOrAutomaticCheckOffOrNoUpdaterLaunchesNothing) {
  Program p;
  p.renewerIni.values[{"config", "lastupdate"}] = "20261208";
  p.launcher.files.insert("C:\\My Tools\\renewer.exe");
  p.updater.updateTimerTimer(true);
  p.renewerIni.values.clear();
  p.updater.updateTimerTimer(false);
  p.launcher.files.clear();
  p.updater.updateTimerTimer(true);
  EXPECT_THAT(p.launcher.launches, IsEmpty());
  EXPECT_THAT(p.notices.notices, IsEmpty());  // the automatic check stays silent

  p.updater.updatebtnClick();
  EXPECT_THAT(p.notices.notices, ElementsAre(std::string(kMissingUpdaterMessage)));
  EXPECT_EQ(p.minimizer.count, 0);
}

TEST(UpdateCheck, FloatingBoxStartsByFullPathOrNamesTheMissingFile) {
  FakeLauncher launcher;
  testing::FakeNotices notices;
  Label19Click("C:\\P\\", launcher, notices);
  launcher.files.insert("C:\\P\\hoverpad.exe");
  Label19Click("C:\\P\\", launcher, notices);
  EXPECT_THAT(notices.notices, ElementsAre("没有发现C:\\P\\hoverpad.exe"));
  EXPECT_THAT(launcher.launches, ElementsAre(Started{"C:\\P\\hoverpad.exe", ""}));
}

TEST(UpdateCheck, HelpLinkOpensTheGuideBesideTheProgramOrNamesTheMissingFile) {
  FakeLauncher launcher;
  testing::FakeNotices notices;
  helpLabelClick("C:\\P\\", kGuideFile, launcher, notices);
  launcher.files.insert("C:\\P\\guide.html");
  helpLabelClick("C:\\P\\", kGuideFile, launcher, notices);
  EXPECT_THAT(notices.notices, ElementsAre("没有发现C:\\P\\guide.html"));
  EXPECT_THAT(launcher.launches, ElementsAre(Started{"C:\\P\\guide.html", "<opened>"}));
}

class FakeRunKey : public RunKey {
 public:
  std::optional<std::string> value;
  RunKeyWrite result = RunKeyWrite::Written;
  RunKeyWrite Write(std::string_view data) override {
    if (result == RunKeyWrite::Written) value = std::string(data);
    return result;
  }
  void Delete() override { value.reset(); }
};

TEST(Autostart, RunValueIsQuotedAndBothFormsAreRecognised) {
  FakeRunKey key;
  testing::FakeNotices notices;
  chkautoClick(true, "C:\\Program Files\\Paginor\\paginor.exe", key, notices);
  EXPECT_EQ(key.value, "\"C:\\Program Files\\Paginor\\paginor.exe\"");
  EXPECT_TRUE(RunValueNamesProgram(*key.value, "C:\\Program Files\\Paginor\\paginor.exe"));
  EXPECT_TRUE(RunValueNamesProgram("c:\\program files\\paginor\\PAGINOR.EXE",
                                   "C:\\Program Files\\Paginor\\paginor.exe"));
  EXPECT_FALSE(RunValueNamesProgram("\"C:\\Old\\paginor.exe\"", "C:\\New\\paginor.exe"));

  chkautoClick(false, "C:\\P\\paginor.exe", key, notices);
  EXPECT_FALSE(key.value.has_value());
  key.result = RunKeyWrite::KeyUnavailable;
  chkautoClick(true, "C:\\P\\paginor.exe", key, notices);
  EXPECT_THAT(notices.errors, IsEmpty());
  key.result = RunKeyWrite::Failed;
  chkautoClick(true, "C:\\P\\paginor.exe", key, notices);
  EXPECT_THAT(notices.errors, ElementsAre("Failed to set data for 'tpnav'"));
}

class FakeWindow : public MainWindowView {
 public:
  bool visible = false;
  bool Visible() const override { return visible; }
  void Show() override { visible = true; }
  void Hide() override { visible = false; }
};

TEST(Tray, LeftClickTogglesTheDisableOrTheWindowAsLeftChkSays) {
  testing::FakeControls controls;
  testing::FakeProfile profile;
  testing::FakeNotices notices;
  testing::FakeTray tray;
  SettingsStore settings(controls, profile, notices, tray);
  FakeWindow window;
  TrayControl control(settings, controls, window);

  controls.SetChecked(Control::leftChk, true);
  control.bsTrayIcon1Click();
  EXPECT_TRUE(settings.pagingDisabled());
  EXPECT_TRUE(control.bsSkinPopupMenu1Popup());
  EXPECT_FALSE(window.visible);
  EXPECT_THAT(tray.images, ElementsAre(1));

  controls.SetChecked(Control::leftChk, false);
  control.bsTrayIcon1Click();
  EXPECT_TRUE(window.visible);
  EXPECT_TRUE(settings.pagingDisabled());
  control.OnMinimize();
  EXPECT_FALSE(window.visible);

  control.N1Click();
  EXPECT_FALSE(control.bsSkinPopupMenu1Popup());
  EXPECT_THAT(tray.images, ElementsAre(1, 0));
  EXPECT_FALSE(DragsWindow(MouseButton::Right));
  EXPECT_TRUE(DragsWindow(MouseButton::Middle));
}

}  // namespace
}  // namespace paginor::app
