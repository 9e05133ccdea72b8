#pragma once
// What the classes tab does when a class is clicked or "Refresh instances (X)" is chosen,
// given the class whose instances and properties the panes show ("" once they were emptied).
#include <string>

namespace brevane::app {

enum class ClassAction {
  Nothing,          // the panes show it already
  LoadClass,        // its instances and its properties, as for a first click
  ReloadInstances,  // the instances of the class the panes show, once more
};

// A click on a class: loaded unless the panes show it.
ClassAction ActionForClassClick(const std::string& shown, const std::string& clicked);

// "Refresh instances (named)": the class the item names, whatever the panes show; a search
// may have selected it without loading it.
ClassAction ActionForRefresh(const std::string& shown, const std::string& named);

}  // namespace brevane::app
