#pragma once
// The modeless dialog "在所有命名空间中查找类": part of a class name, looked for in every
// namespace of the current computer in the background (ClassSearchWalk), the hits streaming
// into a list with a live count, the namespaces that refused listed below. Enter or a
// double-click on a hit hands it to the main window; Esc stops a running search.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "dialogs/win32/dialog_window.h"
#include "wmi/class_search_walk.h"

namespace brevane::app::win32 {

class ClassSearchWindow final : public dialogs::win32::DialogWindow {
 public:
  enum ControlId : int {
    kTextLabel = 300,
    kText,
    kStopButton,
    kHits,
    kCount,
    kRefused,
    kFindButton = IDOK,
    kCloseCommand = IDCANCEL,
  };
  // A hit chosen: its namespace and class.
  using OpenHandler = std::function<void(const std::string& ns, const std::string& className)>;

  ClassSearchWindow(std::unique_ptr<wmi::ClassSearchWalk> walk, OpenHandler open);
  ~ClassSearchWindow() override;

  bool Create(HWND owner);
  // Shows the dialog (it stays open beside the main window) for the computer of conn.
  void Show(const wmi::ConnectionParams& conn);
  // The main window's message loop offers it every message first (Tab, Enter, Esc).
  bool PreTranslate(MSG& message);
  void BeginShutdown();
  bool FinishShutdown(std::chrono::steady_clock::time_point deadline);

 private:
  void OnInitDialog() override;
  void OnCommand(int id, int notification, HWND control) override;
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  void OnFind();
  void OnStop();
  void OnEnter();
  void OpenSelectedHit();
  void AddHits(std::vector<wmi::ClassHit>&& hits);
  void ShowProgress(const wmi::NamespaceSearch& search, bool running);
  void UpdateButtons();

  std::unique_ptr<wmi::ClassSearchWalk> walk_;
  OpenHandler open_;
  wmi::ConnectionParams conn_;
  std::vector<wmi::ClassHit> hits_;  // the list's rows
  size_t refusedShown_ = 0;
};

}  // namespace brevane::app::win32
