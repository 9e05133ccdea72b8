#include "app/class_filter.h"

#include "util/text.h"

namespace brevane::app {

void ClassFilter::SetNames(std::vector<std::string> names) {
  names_ = std::move(names);
  folded_.clear();
  folded_.reserve(names_.size());
  for (const std::string& name : names_) folded_.push_back(util::AsciiLower(name));
}

std::string ClassFilter::Normalized(std::string_view text) {
  return util::Trim(text);
}

std::vector<int> ClassFilter::Matches(std::string_view text) const {
  const std::string needle = util::AsciiLower(Normalized(text));
  std::vector<int> found;
  if (needle.empty()) {
    found.reserve(names_.size());
    for (size_t i = 0; i < names_.size(); ++i) found.push_back(static_cast<int>(i));
    return found;
  }
  for (size_t i = 0; i < folded_.size(); ++i) {
    if (folded_[i].find(needle) != std::string::npos) found.push_back(static_cast<int>(i));
  }
  return found;
}

std::string ClassCountText(size_t shown, size_t total, bool filtering) {
  if (!filtering) return "Classes: " + std::to_string(shown);
  return "Classes: " + std::to_string(shown) + " / " + std::to_string(total);
}

}  // namespace brevane::app
