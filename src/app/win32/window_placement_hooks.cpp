// The window's position between runs.
#include "app/win32/main_window.h"

namespace brevane::app::win32 {

void MainWindow::RestorePlacement() {
  placement_.Restore(Handle());
}

void MainWindow::SavePlacement() {
  placement_.SaveAfterClose(Handle());
}

void MainWindow::SavePlacementAtDestroy() {
  placement_.SaveAtDestroy(Handle());
}

}  // namespace brevane::app::win32
