// The table of a query that went to many computers: "Computer" first, then the union of
// every computer's columns in the order first seen, each cell under its own column.
#include <gtest/gtest.h>

#include "app/result_rows.h"
#include "wmi/computer_column.h"

namespace brevane::app {
namespace {

wmi::ResultTable Objects(const std::vector<util::StringList>& names,
                         const std::vector<util::StringList>& values, bool withLengths = true) {
  wmi::ResultTable table;
  for (size_t i = 0; i < names.size(); ++i) {
    table.columnNames.insert(table.columnNames.end(), names[i].begin(), names[i].end());
    table.values.insert(table.values.end(), values[i].begin(), values[i].end());
    if (withLengths) table.rowLengths.push_back(static_cast<int>(names[i].size()));
    table.cols = std::max(table.cols, static_cast<int>(names[i].size()));
  }
  table.rows = static_cast<int>(names.size());
  return table;
}

util::StringList Row(const ResultRows& rows, int row) {
  util::StringList cells;
  for (int c = 0; c < rows.ColumnCount(); ++c) cells.push_back(rows.Cell(row, c));
  return cells;
}

TEST(ComputerRows, ColumnsAreTheUnionWithComputerFirst) {
  ResultRows rows;
  struct Answer {
    const char* computer;
    wmi::ResultTable table;
  } answers[] = {
      {"web1",
       Objects({{"Name", "State"}, {"Name", "State"}}, {{"a", "Running"}, {"b", "Stopped"}})},
      {"DB1", Objects({{"Name", "StartMode", "State"}}, {{"c", "Auto", "Running"}})},
      {"old", Objects({{"State"}}, {{"Stopped"}}, false)},
      {"none", Objects({}, {})},
  };
  for (Answer& answer : answers) {
    wmi::AddComputerColumn(answer.table, answer.computer);
    rows.Append(std::move(answer.table));
  }
  EXPECT_EQ(rows.ColumnNames(), (util::StringList{"Computer", "Name", "State", "StartMode"}));
  ASSERT_EQ(rows.RowCount(), 4);
  EXPECT_EQ(Row(rows, 0), (util::StringList{"web1", "a", "Running", ""}));
  EXPECT_EQ(Row(rows, 1), (util::StringList{"web1", "b", "Stopped", ""}));
  EXPECT_EQ(Row(rows, 2), (util::StringList{"DB1", "c", "Running", "Auto"}));
  EXPECT_EQ(Row(rows, 3), (util::StringList{"old", "", "Stopped", ""}));
  rows.Sort(0, true);
  EXPECT_EQ(Row(rows, 0)[0], "DB1");
}

}  // namespace
}  // namespace brevane::app
