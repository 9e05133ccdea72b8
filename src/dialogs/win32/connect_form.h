#pragma once
// TConnectForm: the modal dialog in which the user chooses host, namespace, user name and
// password. Created once after the main window and kept, hidden, for the whole run, so that
// its fields and histories survive between showings.
#include <windows.h>

#include <memory>
#include <string>

#include "dialogs/win32/browse_for_folder.h"
#include "dialogs/win32/dialog_window.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/gdi_handles.h"

namespace brevane::dialogs::win32 {

class TConnectForm final : public DialogWindow {
 public:
  enum ControlId : int {
    kGroupBox1 = 100,
    kLabel2,
    kHostCombo,
    kLabel3,
    kWmiPathCombo,
    kBevel1,
    kLabel1,
    kUserEdit,
    kLabel4,
    kPswdEdit,
    kBitBtn2,
    kOkBtn = IDOK,
    kCancelBtn = IDCANCEL,
  };

  TConnectForm() = default;
  ~TConnectForm() override;

  // Creates the hidden dialog once, owned by owner (the main window).
  bool Create(HWND owner);
  // Shows the dialog modally, centred on its owner; IDOK or IDCANCEL.
  int ShowModal();

  util::ComboBoxControl& HostCombo() { return *hostCombo_; }
  util::ComboBoxControl& wmiPathCombo() { return *wmiPathCombo_; }
  std::string UserText() const;
  void SetUserText(const std::string& text);
  // The password lives only in the field; callers should wipe their copies when done.
  std::string PasswordText() const;
  void SetPasswordText(const std::string& text);

  TBrowseForFolder& BrowseForComp1() { return browseForComp1_; }

  void BitBtn2Click();
  void OkBtnClick();

 private:
  void OnInitDialog() override;
  void OnShowing() override;
  void OnCommand(int id, int notification, HWND control) override;
  void OnDestroy() override;

  std::unique_ptr<brevane::framework::win32::Win32ComboBox> hostCombo_ =
      std::make_unique<brevane::framework::win32::Win32ComboBox>(nullptr);
  std::unique_ptr<brevane::framework::win32::Win32ComboBox> wmiPathCombo_ =
      std::make_unique<brevane::framework::win32::Win32ComboBox>(nullptr);
  TBrowseForFolder browseForComp1_;
  brevane::framework::win32::UniqueImageList browseImages_;
  brevane::framework::win32::UniqueBitmap browseBitmap_;
};

}  // namespace brevane::dialogs::win32
