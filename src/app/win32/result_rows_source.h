#pragma once
// The query result rows as the virtual list view's row source.
#include "app/result_rows.h"
#include "framework/win32/virtual_list_view.h"

namespace brevane::app::win32 {

class ResultRowsSource final : public framework::win32::RowSource {
 public:
  ResultRows& Rows() { return rows_; }
  const ResultRows& Rows() const { return rows_; }

  int RowCount() const override { return rows_.RowCount(); }
  int ColumnCount() const override { return rows_.ColumnCount(); }
  const std::string& Cell(int row, int column) const override { return rows_.Cell(row, column); }

 private:
  ResultRows rows_;
};

}  // namespace brevane::app::win32
