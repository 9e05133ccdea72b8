#pragma once
// The answer of a query: every property of every result object, object after object.
#include <string>
#include <vector>

#include "util/string_list.h"

namespace brevane::wmi {

struct ResultTable {
  util::StringList columnNames;  // each object's property names, object after object
  util::StringList values;       // the rendered values, same order and count as columnNames
  int cols = 0;                  // largest property count of any object; 0 without objects
  int rows = 0;                  // number of objects
  // Property count of each object, so that results whose objects differ in their property
  // counts can still be split into rows.
  std::vector<int> rowLengths;

  void Clear() {
    columnNames.clear();
    values.clear();
    cols = 0;
    rows = 0;
    rowLengths.clear();
  }
};

}  // namespace brevane::wmi
