#pragma once
// The data that the copy, export and class-filter benchmarks share, natively and under Wine, so
// that their figures can be compared.
#include <string>
#include <utility>
#include <vector>

#include "app/result_rows.h"
#include "wmi/result_table.h"

namespace brevane::bench {

inline constexpr int kTableRows = 100000;
inline constexpr int kTableColumns = 10;

// A 1 000 000-cell query result: a name, a command line that CSV has to quote, and numbers.
inline app::ResultRows MillionCellRows() {
  wmi::ResultTable table;
  for (int r = 0; r < kTableRows; ++r) {
    for (int c = 0; c < kTableColumns; ++c) {
      table.columnNames.push_back("Column" + std::to_string(c));
      table.values.push_back(c == 0   ? "svchost.exe"
                             : c == 1 ? "C:\\Windows\\system32\\svchost.exe -k \"netsvcs\", -p"
                                      : std::to_string(r * c));
    }
    table.rowLengths.push_back(kTableColumns);
  }
  table.cols = kTableColumns;
  table.rows = kTableRows;
  return app::ResultRows::FromTable(std::move(table));
}

// 100 000 class names, a third of them sharing a long prefix.
inline std::vector<std::string> HundredThousandClassNames() {
  std::vector<std::string> names;
  names.reserve(100000);
  for (int i = 0; i < 100000; ++i)
    names.push_back((i % 3 == 0 ? "Win32_PerfRawData_Counter" : "CIM_LogicalElement") +
                    std::to_string(i));
  return names;
}

}  // namespace brevane::bench
