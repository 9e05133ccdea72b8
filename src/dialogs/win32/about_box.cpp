#include "dialogs/win32/about_box.h"

#include <commctrl.h>

#include "dialogs/win32/dialog_template.h"
#include "dialogs/win32/drawn_images.h"
#include "dialogs/win32/shell_open.h"
#include "framework/win32/encoding.h"
#include "util/product_info.h"
#include "wmi/win32/system_error_text.h"
#include "framework/win32/dpi.h"

namespace brevane::dialogs::win32 {

namespace {

constexpr COLORREF kLinkColor = RGB(0, 0, 255);

// Positions inside Panel1 are relative to the panel, which sits at (10, 8).
RECT InPanel(int left, int top, int width, int height) {
  return DesignRect(10 + left, 8 + top, width, height);
}

std::wstring Wide(const char* text) {
  return brevane::framework::win32::Utf8ToWide(text);
}

std::string MailTarget() {
  return std::string("mailto:") + util::kSupportMailbox;
}

// The home page's address as people read it: without the scheme and the final slash.
std::wstring HomePageText() {
  std::string text = util::kHomePageUrl;
  for (const char* scheme : {"https://", "http://"}) {
    if (text.rfind(scheme, 0) == 0) text.erase(0, std::char_traits<char>::length(scheme));
  }
  if (!text.empty() && text.back() == '/') text.pop_back();
  return brevane::framework::win32::Utf8ToWide(text);
}

DialogSpec AboutSpec() {
  DialogSpec form;
  form.caption = Wide(util::kProductName);
  form.clientSize = {396, 191};
  using A = TAboutBox;
  const DWORD centred = SS_CENTER | SS_NOPREFIX;
  form.controls = {
      {A::kPanel1, L"STATIC", L"", SS_ETCHEDFRAME, 0, DesignRect(10, 8, 375, 144)},
      {A::kProgramIcon, L"STATIC", L"", SS_OWNERDRAW | SS_NOTIFY, 0, InPanel(9, 8, 195, 90)},
      {A::kLabel1, L"STATIC", Wide(util::kProductName), centred, 0, InPanel(212, 8, 160, 15)},
      {A::kLabel2, L"STATIC", Wide(util::kVersionLine), centred, 0, InPanel(212, 24, 160, 15)},
      {A::kLabel4, L"STATIC", HomePageText(), centred | SS_NOTIFY, 0, InPanel(212, 44, 160, 15)},
      {A::kLabel5, L"STATIC", Wide(util::kSupportMailbox), centred | SS_NOTIFY, 0,
       InPanel(212, 62, 160, 15)},
      {A::kBitBtn1, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0,
       DesignRect(130, 159, 135, 26)},
  };
  return form;
}

brevane::framework::win32::UniqueFont DialogFontVariant(HWND dialog, const wchar_t* face,
                                                        int designHeight, bool underline) {
  LOGFONTW font{};
  if (HFONT current = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0))) {
    GetObjectW(current, sizeof font, &font);
  }
  if (face) {
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    font.lfHeight = -brevane::framework::win32::DpiScale::ForWindow(dialog)(designHeight);
  }
  font.lfUnderline = underline ? TRUE : FALSE;
  return brevane::framework::win32::UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace

void TAboutBox::Show(HWND owner) {
  ShowOnce(AboutSpec(), owner);
}

void TAboutBox::OnInitDialog() {
  HWND dialog = Handle();
  CenterWindow(dialog, nullptr);
  titleFont_ = DialogFontVariant(dialog, L"Times New Roman", 13, false);
  linkFont_ = DialogFontVariant(dialog, nullptr, 0, true);
  for (int id : {kLabel1, kLabel2}) {
    SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.Get()), FALSE);
  }
  for (int id : {kLabel4, kLabel5}) {
    SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.Get()), FALSE);
  }
  okImages_ = CreateCheckMarkImages(brevane::framework::win32::DpiScale::ForWindow(dialog)(16));
  if (okImages_.Get()) {
    BUTTON_IMAGELIST images{};
    images.himl = okImages_.Get();
    images.margin = RECT{4, 0, 4, 0};
    images.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
    SendMessageW(Item(kBitBtn1), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
  }
  AddTooltip(dialog, Item(kProgramIcon), Wide(util::kHomePageUrl));
  if (closeAfter_ != 0) SetTimer(dialog, kTimer1, closeAfter_, nullptr);
}

INT_PTR TAboutBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kTimer1) Timer1Timer();
      return TRUE;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (wParam != kProgramIcon || !item) return FALSE;
      DrawLogo(item->hDC, item->rcItem);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
      auto control = reinterpret_cast<HWND>(lParam);
      if (control != Item(kLabel4) && control != Item(kLabel5)) return FALSE;
      auto dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, kLinkColor);
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR:
      if (!IsLink(reinterpret_cast<HWND>(wParam))) return FALSE;
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, TRUE);
      return TRUE;
    default:
      return DialogWindow::HandleMessage(message, wParam, lParam);
  }
}

void TAboutBox::OnCommand(int id, int notification, HWND control) {
  switch (id) {
    case kBitBtn1:
    case IDCANCEL:  // Esc and the close box: OK is also the cancel button
      if (notification == BN_CLICKED) EndModal(IDOK);
      break;
    case kProgramIcon:
      if (notification == STN_CLICKED) ProgramIconClick();
      break;
    case kLabel4:
    case kLabel5:
      if (notification == STN_CLICKED) Label4Click(control);
      break;
    default:
      break;
  }
}

bool TAboutBox::IsLink(HWND control) const {
  return control && !HintOf(control).empty();
}

std::string TAboutBox::HintOf(HWND control) const {
  if (!control) return {};
  if (control == Item(kProgramIcon) || control == Item(kLabel4)) return util::kHomePageUrl;
  if (control == Item(kLabel5)) return MailTarget();
  return {};
}

void TAboutBox::OnDestroy() {
  KillTimer(Handle(), kTimer1);
}

void TAboutBox::Timer1Timer() {
  KillTimer(Handle(), kTimer1);
  EndModal(IDOK);
}

void TAboutBox::ProgramIconClick() {
  OpenTarget(HintOf(Item(kProgramIcon)));
}

void TAboutBox::Label4Click(HWND label) {
  OpenTarget(HintOf(label));
}

void TAboutBox::OpenTarget(const std::string& target) {
  if (target.empty()) return;
  DWORD error = 0;
  if (!ShellOpen(Handle(), target, error)) {
    ShowPlainMessage(Handle(),
                     "Error : " + wmi::win32::SystemErrorText(static_cast<int32_t>(error)));
  }
}

void ShowAboutBox(HWND owner, uint16_t closeAfter) {
  TAboutBox box(closeAfter);
  box.Show(owner);
}

}  // namespace brevane::dialogs::win32
