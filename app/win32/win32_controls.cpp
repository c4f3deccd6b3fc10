#include "app/win32/win32_controls.h"

#include "app/win32/resource.h"
#include "app/win32/wide.h"
#include "engine/definition_file.h"

namespace paginor::app::win32 {

ControlPlace PlaceOf(Control c) {
  switch (c) {
    case Control::Edit1: return {kKeyboardPage, IDC_EDIT1, 0};
    case Control::Edit2: return {kKeyboardPage, IDC_EDIT2, 0};
    case Control::Edit3: return {kKeyboardPage, IDC_EDIT3, 0};
    case Control::Edit4: return {kKeyboardPage, IDC_EDIT4, 0};
    case Control::Edit5: return {kKeyboardPage, IDC_EDIT5, 0};
    case Control::Edit6: return {kKeyboardPage, IDC_EDIT6, 0};
    case Control::CheckBoxKey: return {kKeyboardPage, IDC_CHECKBOXKEY, 0};
    case Control::keyBtn1: return {kKeyboardPage, IDC_KEYBTN1, 0};
    case Control::keyBtn2: return {kKeyboardPage, IDC_KEYBTN2, 0};
    case Control::dmemo1: return {kKeyboardPage, IDC_DMEMO1, 0};
    case Control::cb11: return {kMousePage, IDC_CB11, 0};
    case Control::cb12: return {kMousePage, IDC_CB12, 0};
    case Control::cb13: return {kMousePage, IDC_CB13, 0};
    case Control::cb14: return {kMousePage, IDC_CB14, 0};
    case Control::cb15: return {kMousePage, IDC_CB15, 0};
    case Control::cb16: return {kMousePage, IDC_CB16, 0};
    case Control::cb21: return {kMousePage, IDC_CB21, 0};
    case Control::cb22: return {kMousePage, IDC_CB22, 0};
    case Control::cb23: return {kMousePage, IDC_CB23, 0};
    case Control::cb24: return {kMousePage, IDC_CB24, 0};
    case Control::cb25: return {kMousePage, IDC_CB25, 0};
    case Control::cb26: return {kMousePage, IDC_CB26, 0};
    case Control::CheckBoxMouse1: return {kMousePage, IDC_CHECKBOXMOUSE1, 0};
    case Control::CheckBoxMouse2: return {kMousePage, IDC_CHECKBOXMOUSE2, 0};
    case Control::MouseBtn1: return {kMousePage, IDC_MOUSEBTN1, 0};
    case Control::MouseBtn2: return {kMousePage, IDC_MOUSEBTN2, 0};
    case Control::dmemo2: return {kMousePage, IDC_DMEMO2, 0};
    case Control::xyEdit: return {kFixedPage, IDC_XYEDIT, 0};
    case Control::xEdit: return {kFixedPage, IDC_XEDIT, 0};
    case Control::yEdit: return {kFixedPage, IDC_YEDIT, 0};
    case Control::xyEdit3: return {kFixedPage, IDC_XYEDIT3, 0};
    case Control::RadioButton1: return {kFixedPage, IDC_RADIOBUTTON1, 0};
    case Control::RadioButton2: return {kFixedPage, IDC_RADIOBUTTON2, 0};
    case Control::xyMemo: return {kFixedPage, IDC_XYMEMO, 0};
    case Control::rgpIE: return {kOptionsPage, IDC_RGPIE_0, 7};
    case Control::smartChk: return {kOptionsPage, IDC_SMARTCHK, 0};
    case Control::chkframe: return {kOptionsPage, IDC_CHKFRAME, 0};
    case Control::cbframe: return {kOptionsPage, IDC_CBFRAME, 0};
    case Control::chkauto: return {kOptionsPage, IDC_CHKAUTO, 0};
    case Control::autoUpgrade: return {kOptionsPage, IDC_AUTOUPGRADE, 0};
    case Control::leftChk: return {kOptionsPage, IDC_LEFTCHK, 0};
    case Control::historyMemo: return {kLogPage, IDC_HISTORYMEMO, 0};
  }
  return {kHelpPage, 0, 0};
}

HWND Win32Controls::Handle(Control c) const {
  const ControlPlace place = PlaceOf(c);
  return GetDlgItem(pages_[place.page], place.id);
}

std::string Win32Controls::Text(Control c) const { return WindowText(Handle(c)); }

void Win32Controls::SetText(Control c, std::string_view text) {
  SetWindowTextW(Handle(c), Wide(text).c_str());
}

bool Win32Controls::Checked(Control c) const {
  return SendMessageW(Handle(c), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Controls::SetChecked(Control c, bool checked) {
  SendMessageW(Handle(c), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int Win32Controls::ItemIndex(Control c) const {
  const ControlPlace place = PlaceOf(c);
  if (place.radioCount == 0) return static_cast<int>(SendMessageW(Handle(c), CB_GETCURSEL, 0, 0));
  for (int i = 0; i < place.radioCount; ++i) {
    if (IsDlgButtonChecked(pages_[place.page], place.id + i) == BST_CHECKED) return i;
  }
  return -1;
}

void Win32Controls::SetItemIndex(Control c, int index) {
  const ControlPlace place = PlaceOf(c);
  if (place.radioCount == 0) {
    // An index beyond the items selects nothing, as -1 does.
    SendMessageW(Handle(c), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return;
  }
  for (int i = 0; i < place.radioCount; ++i) {
    CheckDlgButton(pages_[place.page], place.id + i, i == index ? BST_CHECKED : BST_UNCHECKED);
  }
}

void Win32Controls::ClearItems(Control c) { SendMessageW(Handle(c), CB_RESETCONTENT, 0, 0); }

void Win32Controls::AddItem(Control c, std::string_view text) {
  const std::wstring wide = Wide(text);
  SendMessageW(Handle(c), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

bool Win32Controls::Enabled(Control c) const { return IsWindowEnabled(Handle(c)) != FALSE; }

void Win32Controls::SetEnabled(Control c, bool enabled) { EnableWindow(Handle(c), enabled ? TRUE : FALSE); }

std::vector<std::string> Win32Controls::Lines(Control c) const { return SplitLines(Text(c)); }

void Win32Controls::SetLines(Control c, const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  SetText(c, text);
}

void Win32Controls::AppendLine(Control c, std::string_view line) {
  const HWND memo = Handle(c);
  const int end = GetWindowTextLengthW(memo);
  const std::wstring text = (end > 0 ? L"\r\n" : L"") + Wide(line);
  SendMessageW(memo, EM_SETSEL, static_cast<WPARAM>(end), end);
  SendMessageW(memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace paginor::app::win32
