#include "engine/definition_sets.h"

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "engine/definition_file.h"
#include "temp_dir.h"

namespace paginor {
namespace {

using testing::TempDir;

class FakeEditor : public DefinitionEditorView {
 public:
  std::string MemoText(SetIndex set) const override { return memos[Index(set)]; }
  void SetMemoText(SetIndex set, const std::string& text) override { memos[Index(set)] = text; }
  void ShowPage(SetIndex set) override { shownPage = static_cast<int>(set); }

  static std::size_t Index(SetIndex set) { return static_cast<std::size_t>(set); }
  std::array<std::string, kSetCount> memos;
  int shownPage = 0;
};

class FakeDialogs : public FileDialogs {
 public:
  std::optional<std::string> Open(const FileDialogRequest& request) override {
    openRequests.push_back(request);
    return Next();
  }
  std::optional<std::string> Save(const FileDialogRequest& request) override {
    saveRequests.push_back(request);
    return Next();
  }
  std::optional<std::string> Next() {
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::optional<std::string>> answers;  // nullopt: the user cancels
  std::vector<FileDialogRequest> openRequests;
  std::vector<FileDialogRequest> saveRequests;
};

class FakeMessages : public MessageBoxes {
 public:
  void Show(const std::string& text, const std::string& caption) override {
    shown.push_back({text, caption});
  }
  std::vector<std::pair<std::string, std::string>> shown;
};

// Files in memory; reads or writes can be made to fail.
class FakeFiles : public TextFiles {
 public:
  bool Exists(const std::string& path) const override { return files.contains(path); }
  std::optional<std::string> Read(const std::string& path) const override {
    if (readFails || !files.contains(path)) return std::nullopt;
    return files.at(path);
  }
  bool Write(const std::string& path, std::string_view utf8) override {
    ++writes;
    if (writeFails) return false;
    files[path] = std::string(utf8);
    return true;
  }
  std::map<std::string, std::string> files;
  bool readFails = false;
  bool writeFails = false;
  int writes = 0;
};

constexpr std::string_view kLastText =
    "**上页配置**\r\n上一页\r\n<<\r\n**下页配置**\r\n下一页\r\n**首页配置**\r\n**末页配置**\r\n"
    "**某页配置**\r\n[网址=p计算[页码]]\r\n";

// "**上页配置**\r\n上一页\r\n<<\r\n" ... as written in GBK.
const std::string kLastGbk =
    "**\xC9\xCF\xD2\xB3\xC5\xE4\xD6\xC3**\r\n\xC9\xCF\xD2\xBB\xD2\xB3\r\n<<\r\n"
    "**\xCF\xC2\xD2\xB3\xC5\xE4\xD6\xC3**\r\n\xCF\xC2\xD2\xBB\xD2\xB3\r\n"
    "**\xCA\xD7\xD2\xB3\xC5\xE4\xD6\xC3**\r\n**\xC4\xA9\xD2\xB3\xC5\xE4\xD6\xC3**\r\n"
    "**\xC4\xB3\xD2\xB3\xC5\xE4\xD6\xC3**\r\n[\xCD\xF8\xD6\xB7=p\xBC\xC6\xCB\xE3[\xD2\xB3\xC2\xEB]]\r\n";

// The program's directory on disk, with the editor and dialogs around it.
class DefinitionManagerTest : public ::testing::Test {
 protected:
  std::string LastPath() const { return dir.WithSeparator() + "last.pgt"; }
  std::string Memo(SetIndex set) const { return editor.memos[FakeEditor::Index(set)]; }
  void Type(SetIndex set, std::string text) { editor.memos[FakeEditor::Index(set)] = std::move(text); }

  TempDir dir;
  FakeEditor editor;
  FakeDialogs dialogs;
  FakeMessages messages;
  DefinitionManager manager{dir.WithSeparator(), editor, dialogs, messages};
};

TEST_F(DefinitionManagerTest, StartUpLoadsAndActivatesLastPgt) {
  TempDir::WriteBytes(LastPath(), kLastGbk);
  manager.StartUp();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(manager.Active(), ParseDefinitionText(kLastText));
  EXPECT_EQ(manager.Edited(), manager.Active());
  EXPECT_EQ(Memo(SetIndex::Prev), "上一页\r\n<<");
  EXPECT_EQ(Memo(SetIndex::Next), "下一页");
  EXPECT_EQ(Memo(SetIndex::First), "");
  EXPECT_EQ(Memo(SetIndex::Page), "[网址=p计算[页码]]");
}

TEST_F(DefinitionManagerTest, StartUpWithoutLastPgtSaysSoOnceAndKeepsSetsEmpty) {
  Type(SetIndex::Next, "untouched");
  manager.StartUp();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].first, "没有找到所需的文件:" + LastPath());
  EXPECT_EQ(messages.shown[0].second, "提示");
  EXPECT_EQ(manager.Active(), DefinitionSets{});
  EXPECT_EQ(Memo(SetIndex::Next), "untouched");
}

TEST_F(DefinitionManagerTest, ApplyWritesLastPgtAndActivates) {
  Type(SetIndex::Prev, "上一页\r\n<<");
  Type(SetIndex::Next, "下一页");
  Type(SetIndex::Page, "[网址=p计算[页码]]\r\n");
  manager.Button41Click();
  EXPECT_EQ(TempDir::ReadBytes(LastPath()), kLastGbk);
  EXPECT_EQ(manager.Active(), ParseDefinitionText(kLastText));
  EXPECT_EQ(dir.EntryCount(), 1);
}

TEST_F(DefinitionManagerTest, ApplyWithEmptyMemosWritesTheFiveHeaders) {
  manager.Button41Click();
  EXPECT_EQ(ReadTextFile(LastPath()),
            "**上页配置**\r\n**下页配置**\r\n**首页配置**\r\n**末页配置**\r\n**某页配置**\r\n");
}

TEST_F(DefinitionManagerTest, MemoLinesSplitAtEveryKindOfBreak) {
  Type(SetIndex::Last, "a\rb\nc\r\n\r\n d ");
  manager.Button41Click();
  EXPECT_EQ(manager.Active()[SetIndex::Last], (RuleSet{"a", "b", "c", "", " d "}));
}

TEST_F(DefinitionManagerTest, TextOutsideGbkSurvivesApplyAndCancel) {
  Type(SetIndex::Next, "다음 페이지\r\n➡️ 😀");
  manager.Button41Click();
  Type(SetIndex::Next, "");
  manager.Button42Click();
  EXPECT_EQ(Memo(SetIndex::Next), "다음 페이지\r\n➡️ 😀");
  EXPECT_EQ(manager.Active()[SetIndex::Next], (RuleSet{"다음 페이지", "➡️ 😀"}));
}

TEST_F(DefinitionManagerTest, ImportThenCancelDiscardsTheImport) {
  TempDir::WriteBytes(LastPath(), kLastGbk);
  manager.StartUp();
  const std::string imported = dir.File("other.pgt");
  ASSERT_TRUE(WriteTextFile(imported, "**下页配置**\r\n>>\r\n"));
  dialogs.answers.push_back(imported);

  manager.Button43Click();
  ASSERT_EQ(dialogs.openRequests.size(), 1u);
  EXPECT_EQ(dialogs.openRequests[0].title, "打开翻页动作配置文件");
  EXPECT_EQ(dialogs.openRequests[0].initialDir, dir.WithSeparator());
  EXPECT_EQ(dialogs.openRequests[0].filter, "配置文件|*.pgt");
  EXPECT_EQ(dialogs.openRequests[0].defaultExtension, "pgt");
  EXPECT_EQ(Memo(SetIndex::Prev), "");
  EXPECT_EQ(Memo(SetIndex::Next), ">>");
  EXPECT_EQ(manager.Active(), ParseDefinitionText(kLastText));

  manager.Button42Click();
  EXPECT_EQ(Memo(SetIndex::Prev), "上一页\r\n<<");
  EXPECT_EQ(Memo(SetIndex::Next), "下一页");
  EXPECT_EQ(manager.Active(), ParseDefinitionText(kLastText));
  EXPECT_EQ(TempDir::ReadBytes(LastPath()), kLastGbk);
}

TEST_F(DefinitionManagerTest, ImportThenApplyWritesTheImportToLastPgt) {
  const std::string imported = dir.File("other.pgt");
  TempDir::WriteBytes(imported, kLastGbk);
  dialogs.answers.push_back(imported);
  manager.Button43Click();
  EXPECT_EQ(manager.Active(), DefinitionSets{});
  manager.Button41Click();
  EXPECT_EQ(TempDir::ReadBytes(LastPath()), kLastGbk);
  EXPECT_EQ(manager.Active(), ParseDefinitionText(kLastText));
}

TEST_F(DefinitionManagerTest, ExportWritesUnappliedEditsOnly) {
  TempDir::WriteBytes(LastPath(), kLastGbk);
  manager.StartUp();
  Type(SetIndex::First, "首页");
  const std::string exported = dir.File("export.pgt");
  dialogs.answers.push_back(exported);

  manager.Button44Click();
  ASSERT_EQ(dialogs.saveRequests.size(), 1u);
  EXPECT_EQ(dialogs.saveRequests[0].title, "保存翻页动作到配置文件");
  EXPECT_EQ(dialogs.saveRequests[0].initialDir, dir.WithSeparator());
  EXPECT_EQ(dialogs.saveRequests[0].filter, "配置文件|*.pgt");
  EXPECT_EQ(dialogs.saveRequests[0].defaultExtension, "pgt");
  const std::optional<std::string> text = ReadTextFile(exported);
  ASSERT_TRUE(text);
  EXPECT_EQ(ParseDefinitionText(*text)[SetIndex::First], RuleSet{"首页"});
  EXPECT_EQ(manager.Edited()[SetIndex::First], RuleSet{"首页"});
  EXPECT_EQ(manager.Active(), ParseDefinitionText(kLastText));
  EXPECT_EQ(TempDir::ReadBytes(LastPath()), kLastGbk);
}

TEST_F(DefinitionManagerTest, CancelledDialogsAndOtherModesDoNothing) {
  Type(SetIndex::Prev, "typed");
  manager.Button43Click();
  manager.Button44Click();
  manager.LoadDefinitions("LAST");
  manager.SaveDefinitions("");
  manager.SaveDefinitions("last.pgt");
  EXPECT_EQ(dialogs.openRequests.size(), 1u);
  EXPECT_EQ(dialogs.saveRequests.size(), 1u);
  EXPECT_EQ(Memo(SetIndex::Prev), "typed");
  EXPECT_EQ(manager.Edited(), DefinitionSets{});
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(dir.EntryCount(), 0);
}

TEST_F(DefinitionManagerTest, ImportOfAMissingFileNamesIt) {
  const std::string missing = dir.File("gone.pgt");
  dialogs.answers.push_back(missing);
  Type(SetIndex::Prev, "typed");
  manager.Button43Click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].first, "没有找到所需的文件:" + missing);
  EXPECT_EQ(Memo(SetIndex::Prev), "typed");
}

TEST_F(DefinitionManagerTest, RadioGroupShowsThePageOfTheSameIndex) {
  manager.RadioGroup1Click(4);
  EXPECT_EQ(editor.shownPage, 4);
  manager.RadioGroup1Click(1);
  EXPECT_EQ(editor.shownPage, 1);
  manager.RadioGroup1Click(-1);
  manager.RadioGroup1Click(5);
  EXPECT_EQ(editor.shownPage, 1);
}

// File failures, through files that fail on demand.
class DefinitionFailureTest : public ::testing::Test {
 protected:
  const std::string appDir = "C:\\Paginor\\";
  const std::string lastPath = appDir + "last.pgt";
  FakeEditor editor;
  FakeDialogs dialogs;
  FakeMessages messages;
  FakeFiles files;
  DefinitionManager manager{appDir, editor, dialogs, messages, files};
};

TEST_F(DefinitionFailureTest, UnreadableFileChangesNothingAndTellsWhy) {
  files.files[lastPath] = std::string(kLastText);
  manager.StartUp();
  editor.memos[0] = "typed";
  files.files[lastPath] = "**上页配置**\r\nother\r\n";
  files.readFails = true;
  EXPECT_EQ(manager.Button42Click(), lastPath + " cannot be read");
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(editor.memos[0], "typed");
  EXPECT_EQ(manager.Edited(), ParseDefinitionText(kLastText));
}

// A file without any section header (a list, a note, a file in an unknown encoding)
// would empty every set; it is refused instead.
TEST_F(DefinitionFailureTest, FileWithoutSectionsChangesNothingAndTellsWhy) {
  files.files[lastPath] = "下一页\r\n";
  EXPECT_EQ(manager.StartUp(), lastPath + " " + std::string(kNoSectionProblem));
  EXPECT_EQ(manager.Active(), DefinitionSets{});
  files.files[lastPath] = std::string(kLastText);
  EXPECT_EQ(manager.StartUp(), "");
  files.files["C:\\notes.txt"] = "下一页\r\n>>\r\n";
  dialogs.answers.push_back("C:\\notes.txt");
  EXPECT_EQ(manager.Button43Click(),
            "C:\\notes.txt holds none of the section headers \"**上页配置**\" to \"**某页配置**\"");
  EXPECT_EQ(manager.Edited(), ParseDefinitionText(kLastText));
  files.files["C:\\empty.pgt"] = "**下页配置**\r\n";
  dialogs.answers.push_back("C:\\empty.pgt");
  EXPECT_EQ(manager.Button43Click(), "");
  EXPECT_EQ(manager.Edited(), DefinitionSets{});
  // A fresh, empty last.pgt is no problem to tell about.
  files.files[lastPath] = std::string(kLastText);
  manager.StartUp();
  files.files[lastPath] = "\r\n";
  EXPECT_EQ(manager.StartUp(), "");
  EXPECT_EQ(manager.Active(), DefinitionSets{});
}

TEST_F(DefinitionFailureTest, UnwritableFileStillAppliesAndIsReported) {
  files.files[lastPath] = std::string(kLastText);
  manager.StartUp();
  files.writeFails = true;
  editor.memos[1] = ">>";
  EXPECT_EQ(manager.Button41Click(), lastPath);
  EXPECT_EQ(files.writes, 1);
  EXPECT_EQ(manager.Active()[SetIndex::Next], RuleSet{">>"});
  EXPECT_EQ(files.files[lastPath], kLastText);
  dialogs.answers.push_back("C:\\export.pgt");
  EXPECT_EQ(manager.Button44Click(), "C:\\export.pgt");
  files.writeFails = false;
  EXPECT_EQ(manager.Button41Click(), "");
}

}  // namespace
}  // namespace paginor
