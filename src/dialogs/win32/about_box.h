#pragma once
// TAboutBox: the modal about window with the logo, name, version and the home-page and mail
// links. Created for each showing.
#include <windows.h>

#include <cstdint>
#include <string>

#include "dialogs/win32/dialog_window.h"
#include "framework/win32/gdi_handles.h"

namespace brevane::dialogs::win32 {

class TAboutBox final : public DialogWindow {
 public:
  enum ControlId : int {
    kPanel1 = 300,
    kProgramIcon,
    kLabel1,
    kLabel2,
    kLabel4,
    kLabel5,
    kBitBtn1 = IDOK,
  };
  static constexpr UINT_PTR kTimer1 = 1;

  explicit TAboutBox(uint16_t closeAfter) : closeAfter_(closeAfter) {}

  // Shows the box modally to owner until the user (or the timer) closes it.
  void Show(HWND owner);

  void Timer1Timer();
  void ProgramIconClick();
  void Label4Click(HWND label);

  // The link target held as the hint of a clickable control; empty for the others.
  std::string HintOf(HWND control) const;

 private:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnInitDialog() override;
  void OnCommand(int id, int notification, HWND control) override;
  void OnDestroy() override;
  void OpenTarget(const std::string& target);
  bool IsLink(HWND control) const;

  uint16_t closeAfter_;
  brevane::framework::win32::UniqueFont titleFont_;
  brevane::framework::win32::UniqueFont linkFont_;
  brevane::framework::win32::UniqueImageList okImages_;
};

// Creates the about box, arms its timer with closeAfter milliseconds (0: no timer), shows it
// modally and destroys it when it closes.
void ShowAboutBox(HWND owner, uint16_t closeAfter);

}  // namespace brevane::dialogs::win32
