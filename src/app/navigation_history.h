#pragma once
// The places the class browser showed, for back and forward: a class, or one of its objects,
// on a computer and in a namespace. Visiting a place drops what lay ahead of the current one,
// as a web browser does; the oldest places go once the history is full.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace brevane::app {

struct Place {
  std::string host;
  std::string nameSpace;
  std::string className;
  std::string objectPath;  // the object's relative path; empty for the class itself
};

// Host, namespace, class and path compare without regard to case, as WMI compares them.
bool SamePlace(const Place& a, const Place& b);

class NavigationHistory {
 public:
  static constexpr size_t kMaxPlaces = 200;

  // The place now shown. A repeat of the current place is no new entry (so going back or
  // forward, which shows a place again, changes nothing); an empty class is no place.
  void Visit(const Place& place);
  bool CanGoBack() const { return current_ > 0; }
  bool CanGoForward() const { return current_ + 1 < places_.size(); }
  // The place to show, which becomes the current one; empty when there is none that way.
  std::optional<Place> Back();
  std::optional<Place> Forward();
  const Place* Current() const;
  size_t Size() const { return places_.size(); }

 private:
  std::vector<Place> places_;
  size_t current_ = 0;  // meaningful when places_ is not empty
};

}  // namespace brevane::app
