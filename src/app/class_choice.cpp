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

std::string ClassPanesStatus::Requesting() {
  instances_ = "Requesting instances...";
  return Show(instances_);
}

std::string ClassPanesStatus::Loaded(int count, const std::string& failure) {
  instances_ = failure.empty() ? "Instances: " + std::to_string(count) : failure;
  return Show(instances_);
}

std::string ClassPanesStatus::InstanceGone(const std::string& text) {
  return Show(text);
}

std::string ClassPanesStatus::InstanceShown() {
  return Show(instances_);
}

std::string ClassPanesStatus::Emptied(const std::string& panelNow) {
  instances_.clear();
  return panelNow == written_ ? Show(std::string()) : panelNow;
}

std::string ClassPanesStatus::Show(std::string text) {
  written_ = text;
  return text;
}

}  // namespace brevane::app
