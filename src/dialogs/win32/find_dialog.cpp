#include "dialogs/win32/find_dialog.h"

#include "dialogs/win32/dialog_template.h"
#include "util/history.h"

namespace brevane::dialogs::win32 {

namespace {

DialogSpec FindSpec() {
  DialogSpec form;
  form.caption = L"查找";
  form.clientSize = {384, 105};
  using D = TFindDialog;
  const DWORD check = BS_AUTOCHECKBOX | WS_TABSTOP;
  form.controls = {
      {D::kBevel1, L"STATIC", L"", SS_ETCHEDFRAME, 0, DesignRect(8, 8, 281, 89)},
      {D::kLabel1, L"STATIC", L"查找内容 :", SS_LEFT | SS_NOPREFIX, 0, DesignRect(16, 24, 58, 13)},
      {D::kFindText, L"COMBOBOX", L"", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0,
       DesignRect(76, 21, 204, 21)},
      {D::kMatchWholeWordChk, L"BUTTON", L"Match whole word only", check, 0,
       DesignRect(16, 50, 169, 21)},
      {D::kMatchCaseChk, L"BUTTON", L"Match case", check, 0, DesignRect(16, 71, 169, 20)},
      {D::kOKBtn, L"BUTTON", L"&查找", BS_DEFPUSHBUTTON | WS_TABSTOP, 0,
       DesignRect(300, 16, 75, 25)},
      {D::kCancelBtn, L"BUTTON", L"取消", BS_PUSHBUTTON | WS_TABSTOP, 0,
       DesignRect(300, 46, 75, 25)},
  };
  return form;
}

}  // namespace

TFindDialog::~TFindDialog() {
  Destroy();
}

bool TFindDialog::Create(HWND owner) {
  return CreateKept(FindSpec(), owner);
}

void TFindDialog::OnInitDialog() {
  findText_ = std::make_unique<brevane::framework::win32::Win32ComboBox>(Item(kFindText));
}

void TFindDialog::OnShowing() {
  CenterWindow(Handle(), nullptr);
  SendMessageW(Handle(), DM_SETDEFID, kOKBtn, 0);
  SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(kFindText)), TRUE);
}

bool TFindDialog::Execute() {
  if (ShowKeptModal() != IDOK) return false;
  util::AddToHistory(*findText_, findText_->EditText());
  return true;
}

bool TFindDialog::Checked(int id) const {
  return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TFindDialog::SetChecked(int id, bool checked) {
  SendMessageW(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TFindDialog::MatchCase() const {
  return Checked(kMatchCaseChk);
}
void TFindDialog::SetMatchCase(bool checked) {
  SetChecked(kMatchCaseChk, checked);
}
bool TFindDialog::WholeWord() const {
  return Checked(kMatchWholeWordChk);
}
void TFindDialog::SetWholeWord(bool checked) {
  SetChecked(kMatchWholeWordChk, checked);
}

}  // namespace brevane::dialogs::win32
