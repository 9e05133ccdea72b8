#include "app/win32/method_window.h"

#include <commctrl.h>

#include <utility>

#include "app/method_form.h"
#include "app/powershell_copy.h"
#include "app/win32/command_ids.h"
#include "dialogs/win32/dialog_template.h"
#include "framework/win32/clipboard.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/encoding.h"
#include "framework/win32/message_box.h"

namespace brevane::app::win32 {

namespace {

// Where the parameter rows go, in design pixels; the scroll bar stands at its right.
constexpr RECT kRowBand{8, 62, 612, 350};

dialogs::win32::DialogSpec MethodSpec() {
  using dialogs::win32::DesignRect;
  dialogs::win32::DialogSpec form;
  form.caption = L"执行方法";
  form.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
  form.exStyle = 0;
  form.clientSize = {640, 540};
  form.controls = {
      {kIdMethodLabel, L"STATIC", L"方法:", SS_LEFT | SS_NOPREFIX, 0, DesignRect(8, 12, 50, 16)},
      {kIdMethodCombo, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0,
       DesignRect(60, 8, 300, 24)},
      {kIdMethodTarget, L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, 0,
       DesignRect(8, 38, 624, 16)},
      {kIdMethodScroll, L"SCROLLBAR", L"", SBS_VERT, 0,
       DesignRect(kRowBand.right + 4, kRowBand.top, 16, kRowBand.bottom - kRowBand.top)},
      {kIdMethodCopyButton, L"BUTTON", L"复制为 PowerShell", BS_PUSHBUTTON | WS_TABSTOP, 0,
       DesignRect(8, 358, 130, 25)},
      {kIdMethodStatus, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0, DesignRect(146, 356, 322, 30)},
      {IDOK, L"BUTTON", L"执行", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, DesignRect(476, 358, 75, 25)},
      {IDCANCEL, L"BUTTON", L"取消", BS_PUSHBUTTON | WS_TABSTOP, 0, DesignRect(557, 358, 75, 25)},
      {kIdMethodNote, L"STATIC",
       L"Once sent, a call cannot be cancelled at the server: closing this dialog only stops "
       L"waiting for its answer.",
       SS_LEFT | SS_NOPREFIX, 0, DesignRect(8, 390, 624, 16)},
      {kIdMethodResult, L"EDIT", L"",
       ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL |
           WS_TABSTOP | WS_BORDER,
       0, DesignRect(8, 410, 624, 122)},
  };
  return form;
}

}  // namespace

MethodWindow::MethodWindow(wmi::RequestWorker& worker, Hooks hooks)
    : worker_(worker), hooks_(std::move(hooks)) {}

MethodWindow::~MethodWindow() {
  Destroy();
}

bool MethodWindow::Create(HWND owner) {
  return CreateKept(MethodSpec(), owner);
}

void MethodWindow::OnInitDialog() {
  SendMessageW(Item(kIdMethodResult), EM_LIMITTEXT, 0, 0);  // as long as the result is
  ShowWindow(Item(kIdMethodScroll), SW_HIDE);
}

void MethodWindow::Show(const wmi::ConnectionParams& conn, const wmi::RegionalSettings& regional,
                        MethodTarget target) {
  if (Handle() == nullptr) return;
  const bool sameTarget = IsWindowVisible(Handle()) && conn.host == conn_.host &&
                          conn.ns == conn_.ns && target.className == target_.className &&
                          target.instancePath == target_.instancePath;
  // The question before a call is open: what it asks about stays as it is.
  if (!sameTarget && !asking_) {
    conn_ = conn;
    regional_ = regional;
    target_ = std::move(target);
    rows_.Clear();
    offered_.clear();
    shownMethod_ = nullptr;
    definition_ = {};
    calling_ = false;
    SendMessageW(Item(kIdMethodCombo), CB_RESETCONTENT, 0, 0);
    framework::win32::SetWindowTextUtf8(Item(kIdMethodTarget), target_.instancePath.empty()
                                                                   ? target_.className
                                                                   : target_.instancePath);
    SetResult("");
    SetStatus("Reading the methods of " + target_.className + "...");
    listing_ = true;
    // A call still running for the target before is dropped with its answer.
    wmi::StartMethodList(worker_, conn_, target_.className, [this](wmi::MethodListAnswer&& answer) {
      OnMethodList(std::move(answer));
    });
    UpdateButtons();
  }
  if (!IsWindowVisible(Handle()))
    dialogs::win32::CenterWindow(Handle(), GetWindow(Handle(), GW_OWNER));
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
}

bool MethodWindow::PreTranslate(MSG& message) {
  if (Handle() == nullptr || !IsWindowVisible(Handle())) return false;
  if (message.hwnd != Handle() && !IsChild(Handle(), message.hwnd)) return false;
  if (message.message == WM_KEYDOWN && message.wParam == 'P' && GetKeyState(VK_CONTROL) < 0 &&
      GetKeyState(VK_SHIFT) < 0) {
    hooks_.runAsHandler([this] { OnCopyPowerShell(); });
    return true;
  }
  return IsDialogMessageW(Handle(), &message) != FALSE;
}

void MethodWindow::OnCommand(int id, int notification, HWND) {
  if (id == kIdMethodCombo && notification == CBN_SELCHANGE) {
    OnMethodChosen();
    return;
  }
  if (notification != BN_CLICKED) return;
  switch (id) {
    case IDOK:
      // The question before the call is a box: a close of the main window waits for it.
      hooks_.runAsHandler([this] { OnExecute(); });
      return;
    case kIdMethodCopyButton:
      OnCopyPowerShell();
      return;
    case IDCANCEL:
      Close();
      return;
    default:
      return;
  }
}

INT_PTR MethodWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_VSCROLL:
      if (reinterpret_cast<HWND>(lParam) == Item(kIdMethodScroll)) rows_.OnScroll(LOWORD(wParam));
      return TRUE;
    case WM_MOUSEWHEEL:
      rows_.ScrollBy(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1);
      return TRUE;
    case WM_SIZE:
      rows_.Place();
      return FALSE;
    default:
      return DialogWindow::HandleMessage(message, wParam, lParam);
  }
}

void MethodWindow::OnMethodList(wmi::MethodListAnswer&& answer) {
  listing_ = false;
  SetStatus("");
  if (!answer.ok) {
    SetResult(answer.errorText);
    UpdateButtons();
    return;
  }
  definition_ = std::move(answer.definition);
  offered_ = OfferedMethods(definition_, !target_.instancePath.empty());
  HWND combo = Item(kIdMethodCombo);
  for (const wmi::MethodDefinition* method : offered_) {
    const std::wstring name = framework::win32::Utf8ToWide(method->name);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  if (offered_.empty()) {
    SetStatus(definition_.methods.empty()
                  ? "The class " + target_.className + " has no methods."
                  : "The class " + target_.className +
                        " has no static methods: choose one of its instances first.");
    UpdateButtons();
    return;
  }
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  OnMethodChosen();
}

const wmi::MethodDefinition* MethodWindow::ChosenMethod() const {
  const LRESULT index = SendMessageW(Item(kIdMethodCombo), CB_GETCURSEL, 0, 0);
  if (index < 0 || static_cast<size_t>(index) >= offered_.size()) return nullptr;
  return offered_[static_cast<size_t>(index)];
}

void MethodWindow::OnMethodChosen() {
  const wmi::MethodDefinition* method = ChosenMethod();
  if (method == nullptr || method == shownMethod_) return;
  shownMethod_ = method;
  rows_.Build(Handle(), Item(kIdMethodCombo), Item(kIdMethodScroll), kRowBand,
              MethodFields(*method));
  const std::string on = CallTarget(*method, target_.className, target_.instancePath);
  framework::win32::SetWindowTextUtf8(
      Item(kIdMethodTarget),
      (IsStaticMethod(*method) ? "Static method, called on the class " : "Called on ") + on);
  if (rows_.Fields().empty()) {
    SetStatus("The method takes no parameters.");
  } else if (rows_.RowsLeftOut() > 0) {
    SetStatus(std::to_string(rows_.RowsLeftOut()) + " parameters after the first " +
              std::to_string(kMaxFieldRows) + " are not shown; they are sent as not given.");
  } else {
    SetStatus("");
  }
  UpdateButtons();
}

bool MethodWindow::CheckFields(std::vector<wmi::MethodArgument>& arguments) {
  FormCheck check = CheckMethodFields(rows_.Fields(), rows_.Inputs());
  rows_.ShowErrors(check.errors);
  if (!check.ok) return false;
  arguments = std::move(check.arguments);
  return true;
}

void MethodWindow::OnExecute() {
  if (hooks_.readOnly && hooks_.readOnly()) {
    SetStatus("Read-only mode: methods are not executed.");
    return;
  }
  const wmi::MethodDefinition* method = shownMethod_;
  if (method == nullptr || calling_ || listing_) return;
  std::vector<wmi::MethodArgument> arguments;
  if (!CheckFields(arguments)) {
    SetStatus("Nothing was sent: a field does not hold a value of its type.");
    return;
  }
  const std::string objectPath = CallTarget(*method, target_.className, target_.instancePath);
  if (objectPath.empty()) {
    SetStatus("The method runs on an instance: choose one first.");
    return;
  }
  asking_ = true;
  const int answer = framework::win32::ShowMessageBox(
      Handle(), ConfirmationText(method->name, objectPath, conn_.host), MB_YESNO | MB_ICONQUESTION);
  asking_ = false;
  if (answer != IDYES || Handle() == nullptr || !IsWindowVisible(Handle())) return;
  calling_ = true;
  SetStatus("Calling " + method->name + "...");
  UpdateButtons();
  const std::string changedPath = IsStaticMethod(*method) ? std::string() : objectPath;
  wmi::StartMethodCall(worker_, conn_, {objectPath, method->name, std::move(arguments)},
                       [this, changedPath](wmi::MethodCallAnswer&& callAnswer) {
                         OnCallAnswer(changedPath, std::move(callAnswer));
                       });
}

void MethodWindow::OnCallAnswer(const std::string& instancePath, wmi::MethodCallAnswer&& answer) {
  calling_ = false;
  UpdateButtons();
  if (shownMethod_ == nullptr) return;
  SetResult(wmi::MethodResultText(*shownMethod_, answer, regional_));
  SetStatus(answer.ok ? shownMethod_->name + " returned after " +
                            std::to_string(answer.elapsed.count()) + " ms."
                      : shownMethod_->name + " failed.");
  // The call may have changed the instance even when it reported a failure code.
  if (answer.ok && !instancePath.empty() && hooks_.instanceChanged)
    hooks_.instanceChanged(instancePath);
}

void MethodWindow::OnCopyPowerShell() {
  const wmi::MethodDefinition* method = shownMethod_;
  if (method == nullptr) return;
  std::vector<wmi::MethodArgument> arguments;
  if (!CheckFields(arguments)) {
    SetStatus("Nothing was copied: a field does not hold a value of its type.");
    return;
  }
  const std::string instancePath = IsStaticMethod(*method) ? std::string() : target_.instancePath;
  const std::optional<std::string> text = PowerShellTextOfCall(
      PowerShellTargetOf(conn_), target_.className, instancePath, method->name, arguments);
  if (!text) {
    SetStatus("Nothing was copied: the instance has no key to name it by.");
    return;
  }
  switch (framework::win32::SetClipboardText(Handle(), *text)) {
    case framework::win32::ClipboardResult::Copied:
      SetStatus("The call was copied as PowerShell.");
      return;
    case framework::win32::ClipboardResult::Busy:
      SetStatus("Could not copy: the clipboard is in use by another program");
      return;
    case framework::win32::ClipboardResult::TooLarge:
      SetStatus("Could not copy: the text is too large for the clipboard");
      return;
  }
}

void MethodWindow::Close() {
  // The answers still to come are dropped: nothing reaches a dialog closed meanwhile.
  if (listing_ || calling_) worker_.Cancel();
  listing_ = false;
  calling_ = false;
  UpdateButtons();
  ShowWindow(Handle(), SW_HIDE);
}

void MethodWindow::SetResult(const std::string& text) {
  framework::win32::SetWindowTextUtf8(Item(kIdMethodResult), text);
}

void MethodWindow::SetStatus(const std::string& text) {
  framework::win32::SetWindowTextUtf8(Item(kIdMethodStatus), text);
}

void MethodWindow::UpdateButtons() {
  const bool readOnly = hooks_.readOnly && hooks_.readOnly();
  EnableWindow(Item(IDOK), !readOnly && shownMethod_ != nullptr && !calling_ && !listing_);
  // The method stays as it is while its call runs: the answer is read by its signature.
  EnableWindow(Item(kIdMethodCombo), !calling_ && !listing_);
}

}  // namespace brevane::app::win32
