#include "app/main_form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/fakes.h"
#include "engine/temp_dir.h"

namespace paginor::app {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using namespace testing;

constexpr char kProgram[] = "C:\\Paginor\\paginor.exe";
constexpr char kDir[] = "C:\\Paginor\\";

struct Fixture {
  std::vector<std::string> journal;
  FakeControls controls;
  FakeProfile profile;
  FakeTextFiles files;
  FakeNotices notices;
  FakeTray tray;
  FakeHooks hooks{journal};
  FakeAutostart autostart;
  FakeEditor editor;
  FakeDialogs dialogs;
  FakeMessages messages;
  MainForm form{kProgram, {controls, profile, files, notices, tray, hooks, autostart, editor, dialogs, messages}};
};

TEST(MainForm, AppDirIsTheProgramsFolderWithOneTrailingBackslash) {
  EXPECT_EQ(AppDirOf("C:\\Paginor\\paginor.exe"), "C:\\Paginor\\");
  EXPECT_EQ(AppDirOf("C:\\paginor.exe"), "C:\\");
  EXPECT_EQ(AppDirOf("\\\\server\\share\\p.exe"), "\\\\server\\share\\");
}

TEST(MainForm, StartingBindsTheHooksAndLoadsListsAutostartSettingsAndDefinitions) {
  Fixture f;
  f.files.files[std::string(kDir) + "disable1.txt"] = "http://a.example/\r\n#note\r\n";
  f.files.files[std::string(kDir) + "xy.txt"] = "下一页,1,2,http://x/*\r\n";
  f.files.files[std::string(kDir) + "last.pgt"] = "**下页配置**\r\n下一章\r\n";
  f.autostart.value = kProgram;
  f.form.FormCreate();

  EXPECT_THAT(f.journal, ElementsAre("HookMouse", "HookKey"));
  EXPECT_THAT(f.controls.Lines(Control::dmemo1), ElementsAre("http://a.example/", "#note"));
  // A missing file leaves the design-time text.
  EXPECT_THAT(f.controls.Lines(Control::dmemo2), ElementsAre("#表示注释", "#http://www.example.com/"));
  EXPECT_THAT(f.controls.Lines(Control::xyMemo), ElementsAre("下一页,1,2,http://x/*"));
  EXPECT_TRUE(f.controls.Checked(Control::chkauto));
  EXPECT_EQ(f.controls.Text(Control::Edit2), "x");
  EXPECT_FALSE(f.controls.Enabled(Control::keyBtn1));
  EXPECT_THAT(f.form.definitions().Active()[SetIndex::Next], ElementsAre("下一章"));
  EXPECT_TRUE(f.messages.shown.empty());
}

// The hook libraries must know before the first key whether Chromium's and Firefox's
// windows are pages, and again whenever the choice changes.
TEST(MainForm, TheHooksLearnTheChosenKindAtStartAndOnEveryChange) {
  Fixture f;
  f.profile.values = {{{"浏览器", "默认"}, "9"}};  // a later version's index: the last item
  f.form.FormCreate();
  EXPECT_THAT(f.hooks.pageKinds, ElementsAre(hooks::PageKind::Modern));
  f.controls.SetItemIndex(Control::rgpIE, 1);
  f.form.rgpIEClick();
  f.controls.SetItemIndex(Control::rgpIE, 6);
  f.form.rgpIEClick();
  EXPECT_THAT(f.hooks.pageKinds,
              ElementsAre(hooks::PageKind::Modern, hooks::PageKind::IeEngine, hooks::PageKind::Modern));

  Fixture plain;
  plain.form.FormCreate();
  EXPECT_THAT(plain.hooks.pageKinds, ElementsAre(hooks::PageKind::IeEngine));
}

TEST(MainForm, AutostartIsShownOnlyForThisProgramPathQuotedOrNot) {
  for (const char* stored : {"C:\\Old\\paginor.exe", "\"C:\\Old\\paginor.exe\"", "\"C:\\Paginor\\paginor.exe",
                             ""}) {
    Fixture f;
    f.autostart.value = stored;
    f.form.FormCreate();
    EXPECT_FALSE(f.controls.Checked(Control::chkauto)) << stored;
  }
  // Written quoted now, bare by earlier versions; Windows ignores the case of the letters.
  for (const char* stored : {"\"C:\\Paginor\\paginor.exe\"", "c:\\paginor\\PAGINOR.exe"}) {
    Fixture f;
    f.autostart.value = stored;
    f.form.FormCreate();
    EXPECT_TRUE(f.controls.Checked(Control::chkauto)) << stored;
  }
}

TEST(MainForm, WithNoFilesTheDefaultsHoldAndTheMissingDefinitionsAreToldOnce) {
  Fixture f;
  f.form.FormCreate();
  EXPECT_THAT(f.messages.shown, ElementsAre("没有找到所需的文件:C:\\Paginor\\last.pgt"));
  EXPECT_FALSE(f.controls.Checked(Control::chkauto));
  EXPECT_EQ(f.form.settings().tables().LetterOf(PageCommand::Forward), "q");
}

TEST(MainForm, ClosingSavesTheSettingsThenEachListAsTheMemoShowsIt) {
  Fixture f;
  f.form.FormCreate();
  f.controls.SetLines(Control::dmemo1, {"http://kb.example/", "中文 行"});
  f.controls.SetLines(Control::dmemo2, {});
  f.controls.SetItemIndex(Control::rgpIE, 2);
  f.form.FormClose();

  EXPECT_EQ(f.profile.Value("浏览器", "默认"), "2");
  EXPECT_THAT(f.files.writes, ElementsAre("C:\\Paginor\\disable1.txt", "C:\\Paginor\\disable2.txt",
                                          "C:\\Paginor\\xy.txt"));
  EXPECT_EQ(f.files.files["C:\\Paginor\\disable1.txt"], "http://kb.example/\r\n中文 行\r\n");
  EXPECT_EQ(f.files.files["C:\\Paginor\\disable2.txt"], "");
  EXPECT_EQ(f.files.files["C:\\Paginor\\xy.txt"], "#指令格式: 动作,x,y,网址模式\r\n");
  EXPECT_TRUE(f.notices.notices.empty());

  f.form.FormDestroy();
  EXPECT_THAT(f.journal, ElementsAre("HookMouse", "HookKey", "UnHookKey", "UnHookMouse"));
}

TEST(MainForm, AFailedSaveAtCloseNamesEveryUnwrittenFileAndSavesTheRest) {
  Fixture f;
  f.form.FormCreate();
  f.profile.failAtWrite = f.profile.entriesWritten;
  f.files.unwritable.insert("C:\\Paginor\\disable2.txt");
  f.form.FormClose();

  ASSERT_EQ(f.notices.notices.size(), 1u);
  EXPECT_THAT(f.notices.notices[0], HasSubstr("C:\\Paginor\\tpnav.ini"));
  EXPECT_THAT(f.notices.notices[0], HasSubstr("C:\\Paginor\\disable2.txt"));
  EXPECT_THAT(f.notices.notices[0], ::testing::Not(HasSubstr("xy.txt")));
  EXPECT_EQ(f.files.files.count("C:\\Paginor\\xy.txt"), 1u);

  // At the end of a session the same saves run, and nothing is shown.
  f.notices.notices.clear();
  const std::vector<std::string> failed = f.form.SaveAll();
  EXPECT_THAT(failed, ElementsAre("C:\\Paginor\\tpnav.ini", "C:\\Paginor\\disable2.txt"));
  EXPECT_TRUE(f.notices.notices.empty());
}

TEST(MainForm, DefinitionFilesThatCannotBeReadOrWrittenAreToldInABox) {
  Fixture f;
  f.files.files[std::string(kDir) + "last.pgt"] = "下一章\r\n";  // no section header
  f.form.FormCreate();
  ASSERT_EQ(f.notices.notices.size(), 1u);
  EXPECT_THAT(f.notices.notices[0], HasSubstr(kUnreadDefinitionsMessage));
  EXPECT_THAT(f.notices.notices[0], HasSubstr("C:\\Paginor\\last.pgt"));

  f.notices.notices.clear();
  f.files.unwritable.insert(std::string(kDir) + "last.pgt");
  f.form.Button41Click();
  ASSERT_EQ(f.notices.notices.size(), 1u);
  EXPECT_EQ(f.notices.notices[0], std::string(kUnsavedFilesMessage) + "\nC:\\Paginor\\last.pgt");

  f.notices.notices.clear();
  f.files.unwritable.clear();
  f.form.Button41Click();
  f.form.Button42Click();
  EXPECT_TRUE(f.notices.notices.empty());
}

TEST(MainForm, TheGeneratorAppendsALineOnlyWhenEveryFieldIsFilled) {
  Fixture f;
  f.controls.SetText(Control::xEdit, "120");
  f.controls.SetText(Control::yEdit, "45");
  f.form.Button3Click();
  EXPECT_EQ(f.controls.Lines(Control::xyMemo).size(), 1u);

  f.controls.SetText(Control::xyEdit3, "http://s.example/*");
  f.form.Button3Click();
  f.controls.SetChecked(Control::RadioButton1, true);
  f.form.Button3Click();
  EXPECT_THAT(f.controls.Lines(Control::xyMemo),
              ElementsAre("#指令格式: 动作,x,y,网址模式", "下一页,120,45,http://s.example/*",
                          "上一页,120,45,http://s.example/*"));
}

TEST(TextLists, ListsSurviveTheDiskInTheAnsiCodePageAndKeepWhatItCannotHold) {
  paginor::testing::TempDir dir;
  const std::string appDir = dir.WithSeparator();
  FakeControls controls;
  controls.SetLines(Control::dmemo1, {"http://中文.example/", "#注释"});
  controls.SetLines(Control::dmemo2, {"http://한국.example/"});
  EXPECT_TRUE(SaveTextLists(appDir, controls, DiskTextFiles()).empty());
  EXPECT_EQ(paginor::testing::TempDir::ReadBytes(dir.File("disable1.txt")),
            "http://\xD6\xD0\xCE\xC4.example/\r\n#\xD7\xA2\xCA\xCD\r\n");
  EXPECT_EQ(dir.EntryCount(), 3);  // no temporary file left behind

  FakeControls loaded;
  LoadTextLists(appDir, loaded, DiskTextFiles());
  EXPECT_EQ(loaded.Lines(Control::dmemo1), controls.Lines(Control::dmemo1));
  EXPECT_EQ(loaded.Lines(Control::dmemo2), controls.Lines(Control::dmemo2));
  EXPECT_EQ(loaded.Lines(Control::xyMemo), controls.Lines(Control::xyMemo));
}

}  // namespace
}  // namespace paginor::app
