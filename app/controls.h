#pragma once
// The main window's controls as the handlers see them. The Windows build maps each to a
// real control; tests use a fake that records what the handlers did.

#include <string>
#include <string_view>
#include <vector>

namespace paginor::app {

enum class Control {
  // "键盘动作"
  Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, CheckBoxKey, keyBtn1, keyBtn2, dmemo1,
  // "鼠标动作"
  cb11, cb12, cb13, cb14, cb15, cb16, cb21, cb22, cb23, cb24, cb25, cb26,
  CheckBoxMouse1, CheckBoxMouse2, MouseBtn1, MouseBtn2, dmemo2,
  // "其它方式"
  xyEdit, xEdit, yEdit, xyEdit3, RadioButton1, RadioButton2, xyMemo,
  // "一般选项"
  rgpIE, smartChk, chkframe, cbframe, chkauto, autoUpgrade, leftChk,
  // "操作记录"
  historyMemo,
};

class Controls {
 public:
  virtual ~Controls() = default;
  // Edits, combo boxes (the displayed text) and memos (lines joined with CR LF).
  virtual std::string Text(Control c) const = 0;
  // Setting an edit's text runs its change handler, as typing does.
  virtual void SetText(Control c, std::string_view text) = 0;
  // Check boxes and radio buttons. Setting the state runs no handler.
  virtual bool Checked(Control c) const = 0;
  virtual void SetChecked(Control c, bool checked) = 0;
  // Combo boxes, drop-down lists and the radio group rgpIE; -1 is no selection. An index
  // outside the items selects nothing. Setting it runs no handler.
  virtual int ItemIndex(Control c) const = 0;
  virtual void SetItemIndex(Control c, int index) = 0;
  virtual void ClearItems(Control c) = 0;
  virtual void AddItem(Control c, std::string_view text) = 0;
  virtual bool Enabled(Control c) const = 0;
  virtual void SetEnabled(Control c, bool enabled) = 0;
  // Memos: one entry per line.
  virtual std::vector<std::string> Lines(Control c) const = 0;
  virtual void SetLines(Control c, const std::vector<std::string>& lines) = 0;
  virtual void AppendLine(Control c, std::string_view line) = 0;
};

}  // namespace paginor::app
