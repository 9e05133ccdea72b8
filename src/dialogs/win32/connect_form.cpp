#include "dialogs/win32/connect_form.h"

#include <commctrl.h>

#include "dialogs/win32/dialog_template.h"
#include "dialogs/win32/drawn_images.h"
#include "dialogs/win32/secret_text.h"
#include "framework/win32/encoding.h"
#include "util/history.h"
#include "framework/win32/dpi.h"

namespace brevane::dialogs::win32 {

namespace {

constexpr wchar_t kLocalHost[] = L"本机";

// Positions inside GroupBox1 are given relative to the frame, which sits at (8, 8).
RECT InFrame(int left, int top, int width, int height) {
  return DesignRect(8 + left, 8 + top, width, height);
}

DialogSpec ConnectSpec() {
  DialogSpec form;
  form.caption = L"连接到";
  form.clientSize = {409, 142};
  form.fontFace = L"MS Shell Dlg";
  form.fontPoints = 8;
  const DWORD label = SS_LEFT | SS_NOPREFIX;
  const DWORD combo = CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
  const DWORD edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
  using C = TConnectForm;
  form.controls = {
      {C::kGroupBox1, L"BUTTON", L"", BS_GROUPBOX, 0, DesignRect(8, 8, 289, 125)},
      {C::kLabel2, L"STATIC", L"主机", label, 0, InFrame(9, 18, 62, 13)},
      {C::kHostCombo, L"COMBOBOX", L"", combo | WS_GROUP, 0, InFrame(74, 13, 180, 21)},
      {C::kLabel3, L"STATIC", L"命名空间", label, 0, InFrame(9, 42, 62, 13)},
      {C::kWmiPathCombo, L"COMBOBOX", L"", combo, 0, InFrame(74, 38, 207, 21)},
      {C::kBevel1, L"STATIC", L"", SS_ETCHEDHORZ, 0, InFrame(3, 65, 282, 2)},
      {C::kLabel1, L"STATIC", L"用户名", label, 0, InFrame(9, 76, 62, 13)},
      {C::kUserEdit, L"EDIT", L"", edit, WS_EX_CLIENTEDGE, InFrame(74, 72, 207, 21)},
      {C::kLabel4, L"STATIC", L"密  码", label, 0, InFrame(9, 100, 62, 13)},
      {C::kPswdEdit, L"EDIT", L"", edit | ES_PASSWORD, WS_EX_CLIENTEDGE, InFrame(74, 96, 207, 21)},
      {C::kBitBtn2, L"BUTTON", L"", BS_PUSHBUTTON | WS_TABSTOP, 0, InFrame(256, 13, 23, 21)},
      {C::kOkBtn, L"BUTTON", L"确定", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0,
       DesignRect(312, 16, 85, 25)},
      {C::kCancelBtn, L"BUTTON", L"取消", BS_PUSHBUTTON | WS_TABSTOP, 0,
       DesignRect(312, 48, 85, 25)},
  };
  // The frame's border is drawn, not its (empty) caption, and it must not take the focus.
  form.controls[0].style |= WS_GROUP;
  return form;
}

}  // namespace

TConnectForm::~TConnectForm() {
  Destroy();
}

bool TConnectForm::Create(HWND owner) {
  browseForComp1_.SetFlags({TBrowseFlag::bf_BrowseForComputer});
  browseForComp1_.Root = TBrowseLocation::bl_NETWORK;
  browseForComp1_.Caption = "请选择电脑";
  browseForComp1_.StatusText = "请选择电脑";
  browseForComp1_.FolderName = "C:\\";
  return CreateKept(ConnectSpec(), owner);
}

void TConnectForm::OnInitDialog() {
  HWND dialog = Handle();
  hostCombo_ = std::make_unique<brevane::framework::win32::Win32ComboBox>(Item(kHostCombo));
  wmiPathCombo_ = std::make_unique<brevane::framework::win32::Win32ComboBox>(Item(kWmiPathCombo));
  browseForComp1_.SetOwner(dialog);

  SendMessageW(Item(kHostCombo), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kLocalHost));
  SetWindowTextW(Item(kHostCombo), kLocalHost);
  SetWindowTextW(Item(kWmiPathCombo), L"root\\cimv2");
  SendMessageW(Item(kPswdEdit), EM_SETPASSWORDCHAR, L'*', 0);

  const int side = brevane::framework::win32::DpiScale::ForWindow(dialog)(16);
  browseImages_ = CreateBrowseButtonImages(side);
  BUTTON_IMAGELIST images{};
  images.himl = browseImages_.Get();
  images.uAlign = BUTTON_IMAGELIST_ALIGN_CENTER;
  if (!images.himl ||
      !SendMessageW(Item(kBitBtn2), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images))) {
    browseBitmap_ = CreateBrowseButtonBitmap(side, GetSysColor(COLOR_BTNFACE));
    HWND button = Item(kBitBtn2);
    SetWindowLongPtrW(button, GWL_STYLE, GetWindowLongPtrW(button, GWL_STYLE) | BS_BITMAP);
    SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(browseBitmap_.Get()));
  }
  AddTooltip(dialog, Item(kBitBtn2), L"Browse network");
}

int TConnectForm::ShowModal() {
  return ShowKeptModal();
}

void TConnectForm::OnShowing() {
  CenterWindow(Handle(), GetWindow(Handle(), GW_OWNER));
  SendMessageW(Handle(), DM_SETDEFID, kOkBtn, 0);
  SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(kHostCombo)), TRUE);
}

void TConnectForm::OnCommand(int id, int notification, HWND) {
  if (notification != BN_CLICKED) return;
  switch (id) {
    case kBitBtn2:
      BitBtn2Click();
      break;
    case kOkBtn:
      OkBtnClick();
      break;
    case kCancelBtn:
      EndModal(IDCANCEL);
      break;
    default:
      break;
  }
}

void TConnectForm::OnDestroy() {
  if (HWND password = Item(kPswdEdit)) ClearSecretText(password);
}

std::string TConnectForm::UserText() const {
  return brevane::framework::win32::GetWindowTextUtf8(Item(kUserEdit));
}

void TConnectForm::SetUserText(const std::string& text) {
  brevane::framework::win32::SetWindowTextUtf8(Item(kUserEdit), text);
}

std::string TConnectForm::PasswordText() const {
  return ReadSecretText(Item(kPswdEdit));
}

void TConnectForm::SetPasswordText(const std::string& text) {
  WriteSecretText(Item(kPswdEdit), text);
}

void TConnectForm::BitBtn2Click() {
  if (browseForComp1_.Execute()) hostCombo_->SetEditText(browseForComp1_.DisplayName());
}

void TConnectForm::OkBtnClick() {
  AddToHistory(*hostCombo_, hostCombo_->EditText());
  AddToHistory(*wmiPathCombo_, wmiPathCombo_->EditText());
  EndModal(IDOK);
}

}  // namespace brevane::dialogs::win32
