#pragma once
// Where the main window sends a command that acts on what a tab shows.
#include <functional>

namespace brevane::app {

// The index of the view a command goes to: the active one when it has the command, else the
// first in tab order that has it (Ctrl+S on the classes tab exports the query's result); -1
// when none has it or there are no views. An active index outside the views counts as none.
int RouteToView(int active, int count, const std::function<bool(int)>& handles);

}  // namespace brevane::app
