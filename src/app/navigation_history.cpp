#include "app/navigation_history.h"

#include "util/text.h"

namespace brevane::app {

namespace {

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && util::AsciiLower(a) == util::AsciiLower(b);
}

}  // namespace

bool SamePlace(const Place& a, const Place& b) {
  return SameText(a.host, b.host) && SameText(a.nameSpace, b.nameSpace) &&
         SameText(a.className, b.className) && SameText(a.objectPath, b.objectPath);
}

void NavigationHistory::Visit(const Place& place) {
  if (place.className.empty()) return;
  if (const Place* current = Current(); current && SamePlace(*current, place)) return;
  if (!places_.empty()) places_.resize(current_ + 1);
  places_.push_back(place);
  if (places_.size() > kMaxPlaces) places_.erase(places_.begin());
  current_ = places_.size() - 1;
}

std::optional<Place> NavigationHistory::Back() {
  if (!CanGoBack()) return std::nullopt;
  return places_[--current_];
}

std::optional<Place> NavigationHistory::Forward() {
  if (!CanGoForward()) return std::nullopt;
  return places_[++current_];
}

const Place* NavigationHistory::Current() const {
  return places_.empty() ? nullptr : &places_[current_];
}

}  // namespace brevane::app
