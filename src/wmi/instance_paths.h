#pragma once
// The relative path of each line of the instance list, so that a chosen line can be fetched
// by its path. A path that two lines share names neither of them (some providers give every
// instance the same one); such lines, like lines without a path, are found by position.
#include <string>
#include <unordered_map>
#include <vector>

namespace brevane::wmi {

class InstancePaths {
 public:
  // Line `line` (0-based) now holds an instance with this path (empty: none); lines after it
  // are forgotten.
  void Set(int line, std::string path) {
    Truncate(line);
    if (!path.empty()) {
      auto [it, fresh] = lineOfPath_.try_emplace(path, line);
      if (!fresh) {
        if (it->second >= 0) paths_[static_cast<size_t>(it->second)].clear();
        it->second = -1;  // shared: unusable from now on
        path.clear();
      }
    }
    paths_.push_back(std::move(path));
  }

  void Truncate(int lines) {
    while (static_cast<int>(paths_.size()) > lines && !paths_.empty()) {
      auto it = lineOfPath_.find(paths_.back());
      if (it != lineOfPath_.end() && it->second == static_cast<int>(paths_.size()) - 1)
        lineOfPath_.erase(it);
      paths_.pop_back();
    }
  }

  void Clear() {
    paths_.clear();
    lineOfPath_.clear();
  }

  // Empty when the line has no usable path.
  std::string PathOf(int line) const {
    if (line < 0 || line >= static_cast<int>(paths_.size())) return {};
    return paths_[static_cast<size_t>(line)];
  }

 private:
  std::vector<std::string> paths_;
  std::unordered_map<std::string, int> lineOfPath_;  // -1: the path is shared
};

}  // namespace brevane::wmi
