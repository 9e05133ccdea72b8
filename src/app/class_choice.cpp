#include "app/class_choice.h"

namespace brevane::app {

ClassAction ActionForClassClick(const std::string& shown, const std::string& clicked) {
  if (clicked.empty() || clicked == shown) return ClassAction::Nothing;
  return ClassAction::LoadClass;
}

ClassAction ActionForRefresh(const std::string& shown, const std::string& named) {
  if (named.empty()) return ClassAction::Nothing;
  return named == shown ? ClassAction::ReloadInstances : ClassAction::LoadClass;
}

}  // namespace brevane::app
