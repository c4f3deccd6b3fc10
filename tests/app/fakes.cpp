#include "app/fakes.h"

#include "app/settings_keys.h"

namespace paginor::app::testing {

FakeControls::FakeControls() {
  for (const SettingsRow& row : kSettingsRows) {
    state[row.letterEdit].text = row.defaultLetter;
    state[row.gestureCombo].items.assign(kGestureItems.begin(), kGestureItems.end());
    state[row.gestureCombo].index = row.defaultGesture;
    state[row.zoneCombo].items.assign(kZoneItems.begin(), kZoneItems.end());
    state[row.zoneCombo].index = row.defaultZone;
  }
  for (Control c : {Control::CheckBoxKey, Control::CheckBoxMouse1, Control::CheckBoxMouse2,
                    Control::autoUpgrade, Control::RadioButton2}) {
    state[c].checked = true;
  }
  for (Control c : {Control::keyBtn1, Control::keyBtn2, Control::MouseBtn1, Control::MouseBtn2,
                    Control::cbframe}) {
    state[c].enabled = false;
  }
  state[Control::rgpIE].index = 0;
  state[Control::rgpIE].items = {"IE浏览器", "360安全浏览器", "搜狗浏览器", "腾迅TT浏览器",
                                 "世界之窗浏览器", "傲游浏览器", "Chrome/Edge/Firefox"};
  state[Control::dmemo1].lines = {"#表示注释", "#http://www.example.com/"};
  state[Control::dmemo2].lines = state[Control::dmemo1].lines;
  state[Control::xyMemo].lines = {"#指令格式: 动作,x,y,网址模式"};
  state[Control::xyEdit].text = "r";
}

const ControlState& FakeControls::At(Control c) const {
  static const ControlState kNone;
  const auto it = state.find(c);
  return it == state.end() ? kNone : it->second;
}

std::string FakeControls::Text(Control c) const {
  const ControlState& s = At(c);
  if (s.items.empty() || s.index < 0) return s.text;
  return s.index < static_cast<int>(s.items.size()) ? s.items[static_cast<std::size_t>(s.index)] : s.text;
}

void FakeControls::SetText(Control c, std::string_view text) {
  ControlState& s = state[c];
  s.text = std::string(text);
  if (!s.items.empty()) s.index = -1;
  if (onTextChange) onTextChange(c);
}

void FakeControls::SetItemIndex(Control c, int index) {
  ControlState& s = state[c];
  s.index = index >= 0 && index < static_cast<int>(s.items.size()) ? index : -1;
}

void FakeControls::ClearItems(Control c) {
  state[c].items.clear();
  state[c].index = -1;
}

std::optional<std::string> FakeProfile::Read(std::string_view section, std::string_view key) const {
  const auto it = values.find({std::string(section), std::string(key)});
  if (it == values.end()) return std::nullopt;
  return it->second;
}

std::size_t FakeProfile::Write(const std::vector<ProfileEntry>& entries) {
  std::size_t done = 0;
  for (const ProfileEntry& e : entries) {
    if (failAtWrite && entriesWritten == *failAtWrite) return done;
    values[{e.section, e.key}] = e.value;
    writtenKeys.push_back(e.section + "/" + e.key);
    ++entriesWritten;
    ++done;
  }
  return done;
}

std::string FakeProfile::Value(const std::string& section, const std::string& key) const {
  return Read(section, key).value_or("<missing>");
}

std::optional<std::string> FakeTextFiles::Read(const std::string& path) const {
  const auto it = files.find(path);
  if (it == files.end()) return std::nullopt;
  return it->second;
}

bool FakeTextFiles::Write(const std::string& path, std::string_view utf8) {
  writes.push_back(path);
  if (unwritable.count(path)) return false;
  files[path] = std::string(utf8);
  return true;
}

std::string FakeEditor::MemoText(SetIndex set) const {
  const auto it = memos.find(set);
  return it == memos.end() ? std::string() : it->second;
}

}  // namespace paginor::app::testing
