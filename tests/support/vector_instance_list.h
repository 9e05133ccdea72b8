#pragma once
// An instance list in memory, touched only by the thread that pumps the test dispatcher.
#include <string>
#include <vector>

#include "wmi/instance_list.h"

namespace brevane::testing {

class VectorInstanceList final : public wmi::InstanceList {
 public:
  int Count() const override { return static_cast<int>(lines.size()); }
  void Append(const std::string& line) override { lines.push_back(line); }
  void ReplaceLast(const std::string& line) override { lines.back() = line; }
  void DeleteLast() override { lines.pop_back(); }
  void Clear() override { lines.clear(); }

  std::vector<std::string> lines;
};

}  // namespace brevane::testing
