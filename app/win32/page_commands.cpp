// The handlers of the seven pages' controls. Each hands the event to the portable code
// that decides; what stays here is only what the Win32 controls themselves do.

#include <windows.h>

#include <shellapi.h>

#include "app/frames_option.h"
#include "app/win32/main_window.h"
#include "app/win32/resource.h"
#include "app/win32/wide.h"
#include "browser/win32/accessible_win32.h"

namespace paginor::app::win32 {

void MainWindow::OnCommand(Page page, int id, int code) {
  if (!form_) return;  // the design-time state is being set up
  switch (page) {
    case kKeyboardPage: OnKeyboardCommand(id, code); break;
    case kMousePage: OnMouseCommand(id, code); break;
    case kDefinitionsPage: OnDefinitionsCommand(id, code); break;
    case kFixedPage: OnFixedCommand(id, code); break;
    case kOptionsPage: OnOptionsCommand(id, code); break;
    case kLogPage: OnLogCommand(id, code); break;
    case kHelpPage: OnHelpCommand(id, code); break;
    default: break;
  }
}

void MainWindow::OnKeyboardCommand(int id, int code) {
  SettingsStore& settings = form_->settings();
  if (id >= IDC_EDIT1 && id <= IDC_EDIT6 && code == EN_CHANGE) settings.Edit1Change();
  if (code != BN_CLICKED && code != STN_CLICKED) return;
  switch (id) {
    case IDC_CHECKBOXKEY: settings.Edit1Change(); break;
    case IDC_KEYBTN1: settings.keyBtn1Click(); break;
    case IDC_KEYBTN2: settings.keyBtn2Click(); break;
    case IDC_FLOATLINK1: Label19Click(); break;
    default: break;
  }
}

void MainWindow::OnMouseCommand(int id, int code) {
  SettingsStore& settings = form_->settings();
  const bool combo = (id >= IDC_CB11 && id <= IDC_CB16) || (id >= IDC_CB21 && id <= IDC_CB26);
  if (combo && (code == CBN_SELCHANGE || code == CBN_EDITCHANGE)) settings.cb11Change();
  if (code != BN_CLICKED && code != STN_CLICKED) return;
  switch (id) {
    case IDC_CHECKBOXMOUSE1:
    case IDC_CHECKBOXMOUSE2: settings.cb11Change(); break;
    case IDC_MOUSEBTN1: settings.MouseBtn1Click(); break;
    case IDC_MOUSEBTN2: settings.MouseBtn2Click(); break;
    case IDC_FLOATLINK2: Label19Click(); break;
    default: break;
  }
}

void MainWindow::OnDefinitionsCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  DefinitionManager& definitions = form_->definitions();
  if (id >= IDC_RADIOGROUP1_0 && id <= IDC_RADIOGROUP1_4) definitions.RadioGroup1Click(id - IDC_RADIOGROUP1_0);
  switch (id) {
    case IDC_BUTTON41: form_->Button41Click(); break;
    case IDC_BUTTON42: form_->Button42Click(); break;
    case IDC_BUTTON43: form_->Button43Click(); break;
    case IDC_BUTTON44: form_->Button44Click(); break;
    case IDC_EXPLAINBTN: ExplainCurrentPage(); break;
    default: break;
  }
}

namespace {

// The command whose set the editor shows: page numbers are tried as page 2.
std::string_view CommandOfShownSet(HWND page) {
  constexpr std::string_view kCommands[] = {"prev", "next", "first", "last", "2"};
  for (int i = 0; i <= IDC_RADIOGROUP1_4 - IDC_RADIOGROUP1_0; ++i) {
    if (IsDlgButtonChecked(page, IDC_RADIOGROUP1_0 + i) == BST_CHECKED) return kCommands[i];
  }
  return "next";
}

// Edit controls break lines at CR LF only.
std::wstring WithCrLf(const std::string& utf8) {
  std::wstring text;
  for (const wchar_t c : Wide(utf8)) {
    if (c == L'\n') text += L'\r';
    text += c;
  }
  return text;
}

INT_PTR CALLBACK ExplainProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetDlgItemTextW(dialog, IDC_EXPLAINTEXT, reinterpret_cast<const std::wstring*>(lParam)->c_str());
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

void MainWindow::ExplainCurrentPage() {
  if (!explain_) return;
  std::string explanation;
  try {
    explanation = explain_(CommandOfShownSet(pages_[kDefinitionsPage]));
  } catch (...) {
    explanation = "没有发现目标浏览器";
  }
  const std::wstring text = WithCrLf(explanation);
  DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_EXPLAIN), window_, ExplainProc,
                  reinterpret_cast<LPARAM>(&text));
}

void MainWindow::OnFixedCommand(int id, int code) {
  // The capture key's edit shares the letters' change handler.
  if (id == IDC_XYEDIT && code == EN_CHANGE) form_->settings().Edit1Change();
  if (id == IDC_BUTTON3 && code == BN_CLICKED) form_->Button3Click();
}

void MainWindow::OnOptionsCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  if (id >= IDC_RGPIE_0 && id < IDC_RGPIE_6) form_->rgpIEClick();
  switch (id) {
    case IDC_CHKFRAME: chkframeClick(controls_, *frames_); break;
    case IDC_CHKAUTO: chkautoClick(controls_.Checked(Control::chkauto), Utf8(programPath_), runKey_, boxes_); break;
    case IDC_RGPIE_6:
      form_->rgpIEClick();
      paginor::win32::WakeModernBrowsers();
      break;
    case IDC_UPDATEBTN:
      if (updater_) updater_->updatebtnClick();
      break;
    case IDC_REPORTBTN: StartReport(); break;
    default: break;
  }
}

void MainWindow::OnLogCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  const HWND memo = controls_.Handle(Control::historyMemo);
  if (id == IDC_BUTTON1) SetWindowTextW(memo, L"");
  if (id == IDC_BUTTON2) {
    SendMessageW(memo, EM_SETSEL, 0, -1);
    SendMessageW(memo, WM_COPY, 0, 0);
  }
}

void MainWindow::OnHelpCommand(int id, int code) {
  if (id != IDC_HELPLABEL || code != STN_CLICKED) return;
  const std::string caption = WindowText(GetDlgItem(pages_[kHelpPage], IDC_HELPLABEL));
  helpLabelClick(form_->appDir(), caption, launcher_, boxes_);
}

void MainWindow::Label19Click() { app::Label19Click(form_->appDir(), launcher_, boxes_); }

}  // namespace paginor::app::win32
