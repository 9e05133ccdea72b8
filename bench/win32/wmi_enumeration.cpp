// Prints what the COM backend's basic steps cost on this machine: a fresh locator and
// connection (every operation pays it), a whole instance walk with all properties, and a query.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "framework/win32/com_apartment.h"
#include "wmi/win32/com_backend.h"
#include "wmi/win32/com_security.h"
#include "wmi/wmi_error.h"

namespace {

using brevane::wmi::Object;
using brevane::wmi::Property;
using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int WalkWithProperties(brevane::wmi::ObjectSet& set) {
  auto walk = set.NewEnum();
  std::unique_ptr<Object> object;
  int count = 0;
  while (walk->Next(object)) {
    auto properties = object->Properties();
    Property property;
    while (properties->Next(property)) ++count;
  }
  return count;
}

}  // namespace

int main() {
  brevane::framework::win32::ComApartment apartment;
  brevane::wmi::win32::InitializeComSecurity();
  brevane::wmi::win32::ComBackend backend;
  constexpr int kRounds = 20;
  try {
    auto start = Clock::now();
    for (int i = 0; i < kRounds; ++i) {
      backend.CreateLocator()->ConnectServer(".", "root\\cimv2", "", "");
    }
    std::printf("locator + connect:                 %8.2f ms\n",
                MillisecondsSince(start) / kRounds);

    auto services = backend.CreateLocator()->ConnectServer(".", "root\\cimv2", "", "");
    for (const char* className : {"Win32_Process", "Win32_Service", "Win32_PnPEntity"}) {
      int values = 0;
      start = Clock::now();
      for (int i = 0; i < kRounds; ++i) {
        values = WalkWithProperties(*services->InstancesOf(className, brevane::wmi::kFlagSemisync));
      }
      std::printf("walk %-28s %8.2f ms (%d values)\n", className,
                  MillisecondsSince(start) / kRounds, values);
    }
    start = Clock::now();
    int values = 0;
    for (int i = 0; i < kRounds; ++i) {
      values = WalkWithProperties(
          *services->ExecQuery("select Caption, ThreadCount from Win32_Process", "WQL", 0));
    }
    std::printf("query Caption, ThreadCount:        %8.2f ms (%d values)\n",
                MillisecondsSince(start) / kRounds, values);
  } catch (const brevane::wmi::WmiError& e) {
    std::printf("failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
