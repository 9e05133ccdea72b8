// Result tables of arbitrary shape, and the row order: ResultRows::Sort must give one
// consistent order whatever the cells hold.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/result_rows.h"
#include "fuzz_check.h"
#include "util/text.h"

namespace {

using brevane::app::ResultRows;
using brevane::util::StringList;

std::string ConsumeCell(FuzzedDataProvider& in) {
  static const char* const kCells[] = {"",   "-1", "0",    "1",        "10",         "9",
                                       "-5", "$A", "0x10", " 7",       "2147483647", "-2147483648",
                                       "a",  "B",  "b",    "\xC3\xA9", "2147483648", "1a"};
  if (in.ConsumeBool()) return in.PickValueInArray(kCells);
  return in.ConsumeRandomLengthString(16);
}

std::vector<StringList> Rows(const ResultRows& rows) {
  std::vector<StringList> out(static_cast<size_t>(rows.RowCount()));
  for (int r = 0; r < rows.RowCount(); ++r) {
    for (int c = 0; c < rows.ColumnCount(); ++c) out[r].push_back(rows.Cell(r, c));
  }
  return out;
}

bool IsNumber(const std::string& cell) {
  const std::optional<int32_t> number = brevane::util::ParseStandardInt(cell);
  return number && *number != -1;
}

void CheckOrder(const ResultRows& rows, int column, bool ascending) {
  // Quadratic, so only over the first rows; the fuzzer keeps tables small anyway.
  const int count = std::min(rows.RowCount(), 200);
  for (int i = 0; i < count; ++i) {
    const std::string& a = rows.Cell(i, column);
    for (int j = i + 1; j < count; ++j) {
      const std::string& b = rows.Cell(j, column);
      if (IsNumber(a) != IsNumber(b)) continue;
      const int order = brevane::app::CompareCells(a, b);
      FUZZ_CHECK(ascending ? order <= 0 : order >= 0);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  static const char* const kNames[] = {"Name", "Id", "name", "Caption", "Id"};
  brevane::wmi::ResultTable table;
  const size_t objects = in.ConsumeIntegralInRange<size_t>(0, 60);
  for (size_t o = 0; o < objects && in.remaining_bytes() > 0; ++o) {
    const int properties = in.ConsumeIntegralInRange<int>(0, 6);
    for (int p = 0; p < properties; ++p) {
      table.columnNames.push_back(in.ConsumeBool() ? std::string(in.PickValueInArray(kNames))
                                                   : std::string(1, char('A' + p)));
      table.values.push_back(ConsumeCell(in));
    }
    // Lengths that do not add up, or none at all, as a table filled by other code might hold.
    const int declared = in.ConsumeBool() ? properties : in.ConsumeIntegralInRange<int>(-3, 9);
    if (in.ConsumeBool()) table.rowLengths.push_back(declared);
    table.cols = std::max(table.cols, in.ConsumeIntegralInRange<int>(-1, 8));
  }
  if (in.ConsumeBool() && !table.values.empty()) table.values.pop_back();
  table.rows = static_cast<int>(objects);

  StringList valuesIn(table.values.begin(),
                      table.values.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                 table.values.size(), table.columnNames.size())));
  ResultRows rows = ResultRows::FromTable(std::move(table));
  // Every value lands in exactly one cell; the other cells are empty.
  StringList cellsOut;
  for (const StringList& row : Rows(rows)) {
    FUZZ_CHECK(static_cast<int>(row.size()) == rows.ColumnCount());
    for (const std::string& cell : row) cellsOut.push_back(cell);
  }
  std::erase(valuesIn, std::string());
  std::erase(cellsOut, std::string());
  std::sort(valuesIn.begin(), valuesIn.end());
  std::sort(cellsOut.begin(), cellsOut.end());
  FUZZ_CHECK(valuesIn == cellsOut);

  for (int round = 0; round < 3 && in.remaining_bytes() > 0; ++round) {
    const int column = in.ConsumeIntegralInRange<int>(-1, rows.ColumnCount());
    const bool ascending = in.ConsumeBool();
    std::vector<StringList> before = Rows(rows);
    rows.Sort(column, ascending);
    const std::vector<StringList> once = Rows(rows);
    rows.Sort(column, ascending);
    FUZZ_CHECK(Rows(rows) == once);  // sorting again keeps the order
    std::vector<StringList> sorted = once;
    std::sort(before.begin(), before.end());
    std::sort(sorted.begin(), sorted.end());
    FUZZ_CHECK(before == sorted);  // the same rows, only reordered
    if (column >= 0 && column < rows.ColumnCount()) CheckOrder(rows, column, ascending);
  }
  return 0;
}
