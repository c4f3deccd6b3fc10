#pragma once
// Fakes of the main window's controls, tpnav.ini, the text files, the boxes and the hook
// libraries. Each records what the code under test did to it.

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/main_form.h"
#include "app/notices.h"
#include "app/profile_file.h"
#include "app/settings_store.h"
#include "engine/definition_sets.h"
#include "engine/text_file.h"

namespace paginor::app::testing {

struct ControlState {
  std::string text;
  bool checked = false;
  bool enabled = true;
  int index = -1;
  std::vector<std::string> items;
  std::vector<std::string> lines;
};

// Combos show the text of their selected item, as a drop-down combo does after a
// selection; typing is modelled by SetText.
class FakeControls : public Controls {
 public:
  FakeControls();  // the design-time state of the window
  std::map<Control, ControlState> state;
  std::function<void(Control)> onTextChange;  // the change handler of edits

  std::string Text(Control c) const override;
  void SetText(Control c, std::string_view text) override;
  bool Checked(Control c) const override { return At(c).checked; }
  void SetChecked(Control c, bool checked) override { state[c].checked = checked; }
  int ItemIndex(Control c) const override { return At(c).index; }
  void SetItemIndex(Control c, int index) override;
  void ClearItems(Control c) override;
  void AddItem(Control c, std::string_view text) override { state[c].items.emplace_back(text); }
  bool Enabled(Control c) const override { return At(c).enabled; }
  void SetEnabled(Control c, bool enabled) override { state[c].enabled = enabled; }
  std::vector<std::string> Lines(Control c) const override { return At(c).lines; }
  void SetLines(Control c, const std::vector<std::string>& lines) override { state[c].lines = lines; }
  void AppendLine(Control c, std::string_view line) override { state[c].lines.emplace_back(line); }

 private:
  const ControlState& At(Control c) const;
};

class FakeProfile : public ProfileFile {
 public:
  std::map<std::pair<std::string, std::string>, std::string> values;
  std::optional<std::size_t> failAtWrite;  // counts entries over all calls
  std::size_t entriesWritten = 0;
  std::vector<std::string> writtenKeys;  // "section/key" in order

  std::optional<std::string> Read(std::string_view section, std::string_view key) const override;
  std::size_t Write(const std::vector<ProfileEntry>& entries) override;
  std::string Path() const override { return "C:\\Paginor\\tpnav.ini"; }
  std::string Value(const std::string& section, const std::string& key) const;
};

class FakeTextFiles : public TextFiles {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> unwritable;
  std::vector<std::string> writes;  // paths in order

  bool Exists(const std::string& path) const override { return files.count(path) > 0; }
  std::optional<std::string> Read(const std::string& path) const override;
  bool Write(const std::string& path, std::string_view utf8) override;
};

class FakeNotices : public Notices {
 public:
  std::vector<std::string> notices;
  std::vector<std::string> errors;
  void Notice(std::string_view text) override { notices.emplace_back(text); }
  void Error(std::string_view text) override { errors.emplace_back(text); }
};

class FakeTray : public TrayImage {
 public:
  std::vector<int> images;
  void ShowImage(int index) override { images.push_back(index); }
};

// Records every call, together with the other fakes' events, in one journal.
class FakeHooks : public HookLibraries {
 public:
  explicit FakeHooks(std::vector<std::string>& journal) : journal_(journal) {}
  void HookMouse() override { journal_.push_back("HookMouse"); }
  void HookKey() override { journal_.push_back("HookKey"); }
  void UnHookKey() override { journal_.push_back("UnHookKey"); }
  void UnHookMouse() override { journal_.push_back("UnHookMouse"); }
  void SetPageKind(hooks::PageKind kind) override { pageKinds.push_back(kind); }
  std::vector<hooks::PageKind> pageKinds;

 private:
  std::vector<std::string>& journal_;
};

class FakeAutostart : public AutostartRegistry {
 public:
  std::optional<std::string> value;
  std::optional<std::string> RunValue() const override { return value; }
};

class FakeEditor : public DefinitionEditorView {
 public:
  std::map<SetIndex, std::string> memos;
  std::string MemoText(SetIndex set) const override;
  void SetMemoText(SetIndex set, const std::string& text) override { memos[set] = text; }
  void ShowPage(SetIndex) override {}
};

class FakeDialogs : public FileDialogs {
 public:
  std::optional<std::string> Open(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> Save(const FileDialogRequest&) override { return std::nullopt; }
};

class FakeMessages : public MessageBoxes {
 public:
  std::vector<std::string> shown;
  void Show(const std::string& text, const std::string&) override { shown.push_back(text); }
};

}  // namespace paginor::app::testing
