#pragma once
// The modeless dialog "执行方法": the methods of a class (static ones only without an
// instance), one row per in-parameter (MethodFieldRows), "执行" asking once and then calling on
// a worker, and the result in a read-only box of the same dialog. Closing it while a call runs
// drops the call's answer; the call itself goes on at the server.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/method_form.h"
#include "app/win32/method_field_rows.h"
#include "dialogs/win32/dialog_window.h"
#include "wmi/method_call.h"
#include "wmi/request_worker.h"

namespace brevane::app::win32 {

class MethodWindow final : public dialogs::win32::DialogWindow {
 public:
  struct Hooks {
    // Runs a handler that may show a box as the main window runs its own, so that a close of
    // the main window meanwhile waits until it has returned.
    std::function<void(const std::function<void()>&)> runAsHandler;
    // An instance method has run: the instance's values may have changed.
    std::function<void(const std::string& instancePath)> instanceChanged;
    // Read-only mode: nothing is executed.
    std::function<bool()> readOnly;
  };

  MethodWindow(wmi::RequestWorker& worker, Hooks hooks);
  ~MethodWindow() override;

  bool Create(HWND owner);
  // Shows the dialog on target, reading its class's methods in the background.
  void Show(const wmi::ConnectionParams& conn, const wmi::RegionalSettings& regional,
            MethodTarget target);
  // The main window's message loop offers it every message first (Tab, Enter, Esc, and
  // Ctrl+Shift+P while the dialog is active).
  bool PreTranslate(MSG& message);

 private:
  void OnInitDialog() override;
  void OnCommand(int id, int notification, HWND control) override;
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  void OnMethodList(wmi::MethodListAnswer&& answer);
  void OnMethodChosen();
  void OnExecute();
  void OnCallAnswer(const std::string& instancePath, wmi::MethodCallAnswer&& answer);
  void OnCopyPowerShell();
  // Hides the dialog; an answer still to come is dropped.
  void Close();
  // Checks every field, showing each one's message; the arguments when all parse.
  bool CheckFields(std::vector<wmi::MethodArgument>& arguments);
  const wmi::MethodDefinition* ChosenMethod() const;
  void SetResult(const std::string& text);
  void SetStatus(const std::string& text);  // beside the buttons: what happened, what did not
  void UpdateButtons();

  wmi::RequestWorker& worker_;
  Hooks hooks_;
  wmi::ConnectionParams conn_;
  wmi::RegionalSettings regional_;
  MethodTarget target_;
  wmi::ClassDefinition definition_;
  std::vector<const wmi::MethodDefinition*> offered_;   // into definition_, the combo's order
  const wmi::MethodDefinition* shownMethod_ = nullptr;  // whose rows are shown
  MethodFieldRows rows_;
  bool listing_ = false;
  bool calling_ = false;
  bool asking_ = false;  // the question before a call is open
};

}  // namespace brevane::app::win32
