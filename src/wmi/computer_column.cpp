#include "wmi/computer_column.h"

#include <algorithm>
#include <utility>

namespace brevane::wmi {

void AddComputerColumn(ResultTable& table, const std::string& computer) {
  const size_t cells = std::min(table.columnNames.size(), table.values.size());
  util::StringList names;
  util::StringList values;
  names.reserve(cells + static_cast<size_t>(table.rows));
  values.reserve(cells + static_cast<size_t>(table.rows));
  size_t next = 0;
  auto addObject = [&](size_t length) {
    names.emplace_back(kComputerColumn);
    values.push_back(computer);
    for (size_t i = 0; i < length; ++i, ++next) {
      names.push_back(std::move(table.columnNames[next]));
      values.push_back(std::move(table.values[next]));
    }
  };
  std::vector<int> lengths;
  for (int length : table.rowLengths) {
    const size_t taken = std::min(static_cast<size_t>(std::max(length, 0)), cells - next);
    addObject(taken);
    lengths.push_back(static_cast<int>(taken) + 1);
  }
  // A table filled without lengths is cut into objects of `cols` cells.
  const size_t chunk = table.cols > 0 ? static_cast<size_t>(table.cols) : cells - next;
  while (next < cells) {
    const size_t taken = std::min(chunk, cells - next);
    addObject(taken);
    lengths.push_back(static_cast<int>(taken) + 1);
  }
  table.columnNames = std::move(names);
  table.values = std::move(values);
  table.rowLengths = std::move(lengths);
  table.rows = static_cast<int>(table.rowLengths.size());
  table.cols =
      table.rows == 0 ? 0 : *std::max_element(table.rowLengths.begin(), table.rowLengths.end());
}

}  // namespace brevane::wmi
