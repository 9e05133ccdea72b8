#pragma once
// The frame's side of the views' protocol: what MainWindow offers its views, and the plumbing
// the frame's own files share (the handler depth, the histories, the routing of a command).
// Only the main window's files include it.
#include <functional>
#include <string>

#include "app/win32/main_window.h"
#include "app/win32/view.h"

namespace brevane::app::win32 {

class FrameHost final : public ViewHost {
 public:
  explicit FrameHost(MainWindow& window) : window_(window) {}

  HWND Frame() const override { return window_.Handle(); }
  void SetStatus(int panel, const std::string& text) override;
  std::string Status(int panel) const override;
  void ShowError(const std::string& text) override;
  const ProgramSettings& Settings() const override { return window_.settings_; }
  void RunAsHandler(const std::function<void()>& step) override;
  void BackgroundChanged() override;
  void ConnectTo(const std::string& host, const std::string& nameSpace) override;
  std::string UserFor(const std::string& host) const override;
  void BeginBusy() override { ++window_.busyDepth_; }
  void EndBusy() override { --window_.busyDepth_; }
  void RunQueryOnQueryTab(const std::string& text) override;
  void Activate(const View& view) override;
  void ChooseNamespace(const std::string& ns) override;

  // Lets pending messages be processed (painting, the loader's steps). False when one of them
  // closed the window: the client and the workers are gone, and the caller must stop.
  [[nodiscard]] bool ProcessMessages();
  // A request of some view runs in the background (the cursor then shows the arrow with the
  // hourglass).
  bool BackgroundBusy() const;
  // The view a command goes to (RouteToView); null when none has it.
  View* ViewFor(ViewCommand command) const;
  // Runs a view command there (main_window_commands.cpp); fromKeyboard: a shortcut, which acts
  // on the focused control.
  void RunViewCommand(ViewCommand command, bool fromKeyboard);
  // The menu bar's view commands enabled as the view they would go to can run them now.
  void EnableViewCommands(HMENU menu) const;
  View& ActiveView() const;
  // The drop-down histories of the views and the dialogs, from and to the settings file.
  void LoadHistories();
  void SaveHistories();

 private:
  MainWindow& window_;
};

}  // namespace brevane::app::win32
