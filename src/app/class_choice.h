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

// Status panel 2 for the classes tab's panes: it says what they show now. The instance
// list's state ("Requesting instances...", "Instances: N", the loader's failure) stands
// unless the grid shows that the chosen instance is gone; emptied panes leave the panel
// empty. Each event returns the panel's new text.
class ClassPanesStatus {
 public:
  std::string Requesting();
  std::string Loaded(int count, const std::string& failure);
  std::string InstanceGone(const std::string& text);
  std::string InstanceShown();
  // panelNow: the panel's text, which stays when someone else wrote it after these panes.
  std::string Emptied(const std::string& panelNow);

 private:
  std::string Show(std::string text);

  std::string instances_;  // the instance list's state
  std::string written_;    // what these panes last put into the panel
};

}  // namespace brevane::app
