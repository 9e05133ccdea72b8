#pragma once
// The class list's filter box: which class names contain the typed text, ASCII letters
// compared without regard to case. Keeps a folded copy of every name so that a keystroke costs
// one pass of substring searches and nothing else.
#include <string>
#include <string_view>
#include <vector>

namespace brevane::app {

class ClassFilter {
 public:
  // The whole class list, in the order it is shown.
  void SetNames(std::vector<std::string> names);
  const std::vector<std::string>& Names() const { return names_; }

  // The filter text as it counts: blanks and control characters at its ends do not (class
  // names hold none). Empty: no filter.
  static std::string Normalized(std::string_view text);

  // Indices into Names() of the names that contain the text, in order; every index when the
  // text is empty after normalizing.
  std::vector<int> Matches(std::string_view text) const;

 private:
  std::vector<std::string> names_;
  std::vector<std::string> folded_;
};

// Panel 1 of the status bar: "Classes: " and the count shown, or "Classes: shown / total"
// while a filter is on.
std::string ClassCountText(size_t shown, size_t total, bool filtering);

}  // namespace brevane::app
