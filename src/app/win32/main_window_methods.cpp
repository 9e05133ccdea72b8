// The method dialog: made on first use, opened on what the classes tab shows, greyed and
// refused in read-only mode; after an instance method the classes tab reads the instance again.
#include <memory>

#include "app/win32/class_browser_view.h"
#include "app/win32/command_ids.h"
#include "app/win32/main_window.h"
#include "app/win32/main_window_host.h"
#include "app/win32/method_window.h"

namespace brevane::app::win32 {

void MainWindow::OpenMethodDialog(bool classList) {
  if (!wmiClient_ || !classBrowser_ || !methodWorker_) return;
  if (settings_.readOnly) {
    host_->SetStatus(2, "Read-only mode: methods are not executed.");
    return;
  }
  MethodTarget target = classBrowser_->MethodTargetOf(classList);
  if (target.className.empty()) {
    host_->SetStatus(2, "Choose a class first: 执行方法 lists its methods.");
    return;
  }
  if (!methodWindow_) {
    MethodWindow::Hooks hooks;
    hooks.runAsHandler = [this](const std::function<void()>& step) { host_->RunAsHandler(step); };
    hooks.instanceChanged = [this](const std::string& path) {
      if (classBrowser_) classBrowser_->InstanceChanged(path);
    };
    hooks.readOnly = [this] { return settings_.readOnly; };
    auto window = std::make_unique<MethodWindow>(*methodWorker_, std::move(hooks));
    if (!window->Create(Handle())) return;
    methodWindow_ = std::move(window);
  }
  methodWindow_->Show(ConnectionOf(*wmiClient_), wmiClient_->Regional(), std::move(target));
}

void MainWindow::EnableMethodCommands(HMENU menu) const {
  if (menu == nullptr) return;
  EnableMenuItem(menu, kCmdExecuteMethod,
                 MF_BYCOMMAND | (settings_.readOnly ? MF_GRAYED : MF_ENABLED));
}

}  // namespace brevane::app::win32
