#pragma once
// The query result table as the user sees it: our own row storage behind a virtual list view,
// the column layout, the column widths and the order of the rows.
#include <string>
#include <string_view>
#include <vector>

#include "util/string_list.h"
#include "wmi/result_table.h"

namespace brevane {

class ResultRows {
 public:
  ResultRows() = default;

  // Takes the texts of a result (moved, not copied). One row per result object. When every
  // object has the same properties, the captions are the first object's names; otherwise the
  // columns are the property names in order of first appearance and each cell sits under the
  // column of its own name.
  static ResultRows FromTable(wmi::ResultTable&& table);

  int RowCount() const;
  int ColumnCount() const;
  const StringList& ColumnNames() const;
  // Cell of a row in display order; column 0 is the row's caption. Missing cells are empty.
  const std::string& Cell(int row, int column) const;

  // Puts the rows in the order of the given column (ListView1Compare, negated when
  // descending). Sort keys are computed once per call.
  void Sort(int column, bool ascending);

 private:
  StringList columnNames_;
  std::vector<std::string> cells_;  // row-major, columnNames_.size() cells per stored row
  std::vector<int> order_;          // display row -> stored row
};

// ListView1Compare without the direction: numbers when both cells convert (and neither is
// -1), otherwise byte order. Returns -1, 0 or 1.
int CompareCells(std::string_view a, std::string_view b);

// Width of every column after a rebuild, for a list view of the given client width.
int QueryColumnWidth(int clientWidth, int columnCount);

}  // namespace brevane
