#pragma once
// Base of our dialogs: one dialog procedure that finds the object from the window and guards
// every handler, plus the two ways of showing: a dialog kept for the whole run and shown
// modally again and again, or one created for a single modal showing.
#include <windows.h>

#include <string>
#include <vector>

#include "dialogs/win32/dialog_template.h"

namespace brevane::dialogs::win32 {

class DialogWindow {
 public:
  DialogWindow() = default;
  virtual ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  HWND Handle() const { return dialog_; }
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }

  // Closes a modal showing with result (IDOK, IDCANCEL).
  void EndModal(int result);
  // Destroys a kept dialog. Derived classes call it from their destructor, so that their
  // OnDestroy still runs as theirs.
  void Destroy();

 protected:
  // Creates the (hidden) dialog once; owner becomes its owner window.
  bool CreateKept(const DialogSpec& form, HWND owner);
  // Shows the kept dialog modally to its owner and hides it again; returns IDOK or IDCANCEL.
  int ShowKeptModal();
  // Creates, shows modally and destroys the dialog.
  int ShowOnce(const DialogSpec& form, HWND owner);

  // Dialog-procedure semantics: return TRUE when handled. Exceptions are caught outside.
  virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual void OnInitDialog() {}
  virtual void OnShowing() {}
  virtual void OnCommand(int id, int notification, HWND control);
  virtual void OnDestroy() {}

  const DialogSpec& Form() const { return spec_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  HWND dialog_ = nullptr;
  DialogSpec spec_;
  bool kept_ = false;
  bool running_ = false;
  int result_ = IDCANCEL;
};

// Shows text as the tooltip of one of the dialog's controls.
void AddTooltip(HWND dialog, HWND tool, const std::wstring& text);

}  // namespace brevane::dialogs::win32
