// The class search in every namespace: the modeless dialog made on first use, and a hit opened
// in the main window (its namespace current, its class chosen, its instances loading).
#include <memory>

#include "app/win32/class_browser_view.h"
#include "app/win32/class_search_window.h"
#include "app/win32/main_window.h"
#include "app/win32/main_window_host.h"
#include "app/win32/method_window.h"

namespace brevane::app::win32 {

void MainWindow::OpenClassSearch() {
  if (!wmiClient_ || !dispatcher_) return;
  if (!classSearch_) {
    auto walk = std::make_unique<wmi::ClassSearchWalk>(backend_, dispatcher_);
    classSearch_ = std::make_unique<ClassSearchWindow>(
        std::move(walk), [this](const std::string& ns, const std::string& className) {
          OpenClassHit(ns, className);
        });
    if (!classSearch_->Create(Handle())) {
      classSearch_.reset();
      return;
    }
  }
  classSearch_->Show(ConnectionOf(*wmiClient_));
}

void MainWindow::OpenClassHit(const std::string& ns, const std::string& className) {
  if (!wmiClient_ || !classBrowser_) return;
  host_->Activate(*classBrowser_);
  host_->ChooseNamespace(ns);
  classBrowser_->ShowClass(className);
}

bool MainWindow::PreTranslateDialogMessage(MSG& message) {
  return (classSearch_ && classSearch_->PreTranslate(message)) ||
         (methodWindow_ && methodWindow_->PreTranslate(message)) ||
         (classBrowser_ && classBrowser_->PreTranslateKey(message));
}

}  // namespace brevane::app::win32
