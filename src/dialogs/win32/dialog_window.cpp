#include "dialogs/win32/dialog_window.h"

#include <commctrl.h>

namespace brevane::dialogs::win32 {

namespace {
// Posted on a DPI change, so that our pixel layout is applied after the dialog manager has
// rescaled the dialog from its template.
constexpr UINT kRelayoutMessage = WM_APP + 0x51;
}  // namespace

DialogWindow::~DialogWindow() {
  Destroy();
}

void DialogWindow::Destroy() {
  if (dialog_ && kept_) DestroyWindow(dialog_);
}

bool DialogWindow::CreateKept(const DialogSpec& form, HWND owner) {
  if (dialog_) return true;
  spec_ = form;
  kept_ = true;
  const std::vector<DWORD> templateWords = BuildDialogTemplate(spec_);
  CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                             reinterpret_cast<LPCDLGTEMPLATEW>(templateWords.data()), owner,
                             &DialogWindow::DialogProc, reinterpret_cast<LPARAM>(this));
  return dialog_ != nullptr;
}

int DialogWindow::ShowKeptModal() {
  if (!dialog_ || running_) return IDCANCEL;
  HWND owner = GetWindow(dialog_, GW_OWNER);
  const bool disableOwner = owner && IsWindowEnabled(owner);
  result_ = IDCANCEL;
  running_ = true;
  OnShowing();
  if (disableOwner) EnableWindow(owner, FALSE);
  ShowWindow(dialog_, SW_SHOW);
  SetForegroundWindow(dialog_);
  MSG message{};
  while (running_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: leave the loop and let the outer loop see the quit request.
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      running_ = false;
      result_ = IDCANCEL;
      break;
    }
    if (!IsDialogMessageW(dialog_, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  // The owner is enabled before the dialog hides, so that activation returns to it.
  if (disableOwner) EnableWindow(owner, TRUE);
  ShowWindow(dialog_, SW_HIDE);
  if (owner) SetActiveWindow(owner);
  return result_;
}

int DialogWindow::ShowOnce(const DialogSpec& form, HWND owner) {
  spec_ = form;
  kept_ = false;
  running_ = true;
  const std::vector<DWORD> templateWords = BuildDialogTemplate(spec_);
  const INT_PTR result = DialogBoxIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(templateWords.data()), owner,
      &DialogWindow::DialogProc, reinterpret_cast<LPARAM>(this));
  running_ = false;
  return result == IDOK ? IDOK : IDCANCEL;
}

void DialogWindow::EndModal(int result) {
  if (!dialog_ || !running_) return;
  result_ = result;
  if (kept_) {
    running_ = false;
    // Wakes the modal loop if it is waiting in GetMessage.
    PostMessageW(dialog_, WM_NULL, 0, 0);
  } else {
    EndDialog(dialog_, result);
  }
}

INT_PTR DialogWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    default:
      return FALSE;
  }
}

void DialogWindow::OnCommand(int id, int notification, HWND) {
  if (notification != BN_CLICKED) return;
  if (id == IDOK || id == IDCANCEL) EndModal(id);
}

INT_PTR DialogWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      ApplyPixelLayout(dialog_, spec_);
      OnInitDialog();
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    case WM_DPICHANGED:
      PostMessageW(dialog_, kRelayoutMessage, 0, 0);
      return FALSE;
    case kRelayoutMessage:
      ApplyPixelLayout(dialog_, spec_);
      return TRUE;
    default:
      return HandleMessage(message, wParam, lParam);
  }
}

INT_PTR CALLBACK DialogWindow::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<DialogWindow*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    self->dialog_ = dialog;
  }
  if (!self) return FALSE;
  INT_PTR handled = FALSE;
  try {
    handled = self->Dispatch(message, wParam, lParam);
  } catch (...) {
    // Nothing may unwind into the dialog manager; the message counts as handled.
    handled = TRUE;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    self->dialog_ = nullptr;
    self->running_ = false;
  }
  return handled;
}

void AddTooltip(HWND dialog, HWND tool, const std::wstring& text) {
  HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!tip) return;
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = dialog;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = const_cast<wchar_t*>(text.c_str());  // copied by the tooltip
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace brevane::dialogs::win32
