#pragma once
// TFindDialog: the modal dialog that collects the search text and the two search options.
// Created once after the main window and kept, hidden, for the whole run.
#include <windows.h>

#include <memory>
#include <string>

#include "dialogs/find_dialog_port.h"
#include "dialogs/win32/dialog_window.h"
#include "framework/win32/control_adapters.h"

namespace brevane::dialogs::win32 {

class TFindDialog final : public DialogWindow, public FindDialogPort {
 public:
  enum ControlId : int {
    kBevel1 = 200,
    kLabel1,
    kFindText,
    kMatchWholeWordChk,
    kMatchCaseChk,
    kOKBtn = IDOK,
    kCancelBtn = IDCANCEL,
  };

  TFindDialog() = default;
  ~TFindDialog() override;

  bool Create(HWND owner);
  // Shows the dialog modally with the focus in the text box; on OK the text enters the
  // history. True when the user pressed OK.
  bool Execute() override;

  util::ComboBoxControl& FindText() { return *findText_; }
  void SetSearchText(const std::string& text) override { findText_->SetEditText(text); }
  std::string SearchText() const override { return findText_->EditText(); }
  bool MatchCase() const override;
  void SetMatchCase(bool checked) override;
  bool WholeWord() const override;
  void SetWholeWord(bool checked) override;

 private:
  void OnInitDialog() override;
  void OnShowing() override;

  bool Checked(int id) const;
  void SetChecked(int id, bool checked);

  std::unique_ptr<brevane::framework::win32::Win32ComboBox> findText_ =
      std::make_unique<brevane::framework::win32::Win32ComboBox>(nullptr);
};

}  // namespace brevane::dialogs::win32
