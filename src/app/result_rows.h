#pragma once
// The query result table as the user sees it: our own row storage behind a virtual list view,
// the column layout, the column widths and the order of the rows.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "util/block_vector.h"
#include "util/string_list.h"
#include "wmi/result_table.h"

namespace brevane::app {

class ResultRows {
 public:
  ResultRows() = default;

  // Takes the texts of a result (moved, not copied). One row per result object. When every
  // object has the same properties, the captions are the first object's names; otherwise the
  // columns are the property names in order of first appearance and each cell sits under the
  // column of its own name.
  static ResultRows FromTable(wmi::ResultTable&& table);
  // Adds the objects of a further part of the same result (moved, not copied), as they stream
  // in. The rows and columns grow as FromTable would have laid out the whole result: a
  // property name that no earlier object had adds a column at the end.
  void Append(wmi::ResultTable&& table);
  // Drops the rows that arrived first until at most maxRows are left (a stream that runs
  // until stopped, such as events, keeps only the newest). The columns stay.
  void KeepNewest(size_t maxRows);

  int RowCount() const;
  int ColumnCount() const;
  const util::StringList& ColumnNames() const;
  // Cell of a row in display order; column 0 is the row's caption. Missing cells are empty.
  const std::string& Cell(int row, int column) const;

  // Puts the rows in the order of the given column (CompareCells, negated when
  // descending). Sort keys are computed once per call.
  void Sort(int column, bool ascending);

 private:
  std::string_view StoredCell(size_t stored, size_t column) const;
  void AppendMixed(util::StringList& names, util::StringList& values, size_t first, size_t length);
  void CompactDropped();

  util::StringList columnNames_;
  // The stored rows one after another; a row holds the columns up to the last one it has a
  // value for, so that a column that appears late costs nothing for the rows before it.
  util::BlockVector<std::string> cells_;  // never moved as the result grows
  std::vector<size_t> rowStart_;          // stored row -> its first cell
  std::vector<int> order_;                // display row -> stored row
  // Stored rows before this one have been dropped; their cells are given back in bulk.
  size_t firstKept_ = 0;
  // Once one object does not have exactly the columns' names, cells are placed by name.
  bool mixed_ = false;
  std::unordered_map<std::string, std::vector<size_t>> columnsByName_;
  std::vector<size_t> lastRowInColumn_;  // the stored row that last put a cell in a column
};

// The order of two cells of a column: numbers when both cells convert (and neither is
// -1), otherwise byte order. Returns -1, 0 or 1.
int CompareCells(std::string_view a, std::string_view b);

// Width of every column after a rebuild, for a list view of the given client width.
int QueryColumnWidth(int clientWidth, int columnCount);

}  // namespace brevane::app
