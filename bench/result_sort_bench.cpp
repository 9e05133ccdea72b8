// Building and sorting a 100 000 x 10 query result, with the peak memory of the process.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "app/result_rows.h"

namespace {

constexpr int kRows = 100000;
constexpr int kColumns = 10;

std::string PeakResidentSet() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return line.substr(6);
  }
  return " unknown";
}

template <typename Step>
void Time(const char* name, Step&& step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  const auto elapsed = std::chrono::steady_clock::now() - start;
  std::printf("%-32s %10.1f ms\n", name,
              std::chrono::duration<double, std::milli>(elapsed).count());
}

}  // namespace

int main() {
  std::printf("peak RSS at start:%s\n", PeakResidentSet().c_str());
  std::mt19937 random(42);
  brevane::wmi::ResultTable table;
  Time("fill the result table", [&] {
    table.columnNames.reserve(kRows * kColumns);
    table.values.reserve(kRows * kColumns);
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kColumns; ++c) {
        table.columnNames.push_back("Property" + std::to_string(c));
        if (c == 0) {
          table.values.push_back(std::to_string(random() % 1000000));
        } else if (c == 1) {
          table.values.push_back("Process name " + std::to_string(random()) + ".exe");
        } else {
          table.values.push_back(std::to_string(random() % 100) + (c % 2 ? "a" : ""));
        }
      }
      table.rowLengths.push_back(kColumns);
    }
    table.cols = kColumns;
    table.rows = kRows;
  });
  brevane::app::ResultRows rows;
  Time("FromTable (aligned)",
       [&] { rows = brevane::app::ResultRows::FromTable(std::move(table)); });
  Time("sort numeric column ascending", [&] { rows.Sort(0, true); });
  Time("sort numeric column descending", [&] { rows.Sort(0, false); });
  Time("sort text column ascending", [&] { rows.Sort(1, true); });
  Time("sort mixed column ascending", [&] { rows.Sort(3, true); });
  std::printf("first cells: %s / %s\n", rows.Cell(0, 0).c_str(), rows.Cell(0, 1).c_str());
  std::printf("peak RSS:%s\n", PeakResidentSet().c_str());
  return 0;
}
