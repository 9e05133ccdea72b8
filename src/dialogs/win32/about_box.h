#pragma once
// AboutBox: the modal about window with the logo, name, version and the home-page and mail
// links. Created for each showing.
#include <windows.h>

#include <cstdint>
#include <string>

#include "dialogs/win32/dialog_window.h"
#include "framework/win32/gdi_handles.h"

namespace brevane::dialogs::win32 {

class AboutBox final : public DialogWindow {
 public:
  enum ControlId : int {
    kFrame = 300,
    kProgramIcon,
    kProductLabel,
    kVersionLabel,
    kHomePageLink,
    kMailLink,
    kOkButton = IDOK,
  };
  static constexpr UINT_PTR kCloseTimer = 1;

  explicit AboutBox(uint16_t closeAfter) : closeAfter_(closeAfter) {}

  // Shows the box modally to owner until the user (or the timer) closes it.
  void Show(HWND owner);

  void OnCloseTimer();
  void ProgramIconClick();
  void OnLinkClick(HWND label);

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
