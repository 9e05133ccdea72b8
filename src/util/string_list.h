#pragma once
// An ordered list of UTF-8 texts: class names, property names and values, labels, histories.
#include <string>
#include <vector>

namespace brevane::util {

using StringList = std::vector<std::string>;

}  // namespace brevane::util
