// Prints the process's memory after the first query and after 1 000 more through the COM
// backend against the platform's WMI, the way the window runs them (a fresh connection, every
// object and property read). Memory that grows with the count of queries is a leak.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "framework/win32/com_apartment.h"
#include "wmi/regional_settings.h"
#include "wmi/win32/com_backend.h"
#include "wmi/win32/com_security.h"
#include "wmi/query_ops.h"

namespace {

constexpr const char* kQuery = "select * from Win32_Process";
constexpr int kQueries = 1000;

struct Memory {
  double workingSetKb = 0;
  double privateKb = 0;
};

Memory ProcessMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) return {};
  return {static_cast<double>(counters.WorkingSetSize) / 1024.0,
          static_cast<double>(counters.PagefileUsage) / 1024.0};
}

}  // namespace

int main() {
  brevane::framework::win32::ComApartment apartment;
  brevane::wmi::win32::InitializeComSecurity();
  brevane::wmi::win32::ComBackend backend;
  const brevane::wmi::RegionalSettings regional;
  const brevane::wmi::ConnectionParams conn{".", "root\\cimv2", "", ""};
  std::string error;
  brevane::wmi::ResultTable table;
  const auto query = [&] {
    return brevane::wmi::RunQuery(backend, regional, conn, kQuery, table, error);
  };
  if (!query()) {
    std::printf("query failed: %s\n", error.c_str());
    return 1;
  }
  const Memory first = ProcessMemory();
  for (int i = 0; i < kQueries; ++i) query();
  const Memory last = ProcessMemory();
  std::printf("%s (%d rows)\n", kQuery, table.rows);
  std::printf("working set after 1 query:         %10.0f KB (private %.0f KB)\n",
              first.workingSetKb, first.privateKb);
  std::printf("working set after %d more:       %10.0f KB (private %.0f KB)\n", kQueries,
              last.workingSetKb, last.privateKb);
  std::printf("growth per query:                  %10.2f KB (private %.2f KB)\n",
              (last.workingSetKb - first.workingSetKb) / kQueries,
              (last.privateKb - first.privateKb) / kQueries);
  return 0;
}
