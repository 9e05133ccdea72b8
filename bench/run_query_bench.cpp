// RunQuery over the fake backend: 100 000 objects of 10 properties each.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "support/fake_scenarios.h"
#include "wmi/query_ops.h"

namespace {
long PeakRssKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}
}  // namespace

int main() {
  using namespace brevane;
  testing::FakeWmi fake;
  testing::AddBigClass(fake, "Bench_Query", 100000, 10);
  const wmi::ConnectionParams conn{".", "root\\cimv2", "", ""};
  std::string error;
  for (int run = 0; run < 3; ++run) {
    wmi::ResultTable table;
    const auto start = std::chrono::steady_clock::now();
    const bool ok = wmi::RunQuery(fake, {}, conn, "select * from Bench_Query", table, error);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("RunQuery 100000 x 10: %s, %d rows x %d cols, %.3f s (%.0f cells/s)\n",
                ok ? "ok" : "failed", table.rows, table.cols, seconds,
                table.values.size() / seconds);
  }
  std::printf("peak RSS (incl. the fake's own data): %ld MB\n", PeakRssKb() / 1024);
  return 0;
}
