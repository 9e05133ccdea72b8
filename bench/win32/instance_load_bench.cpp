// The instance loader under Wine: 30 001 instances of the fake backend into a real list box,
// through the real UI dispatcher. Prints instances per second and the longest gap between two
// messages the UI thread handled during the load (a 10 ms timer keeps messages coming).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/win32/list_box_instance_list.h"
#include "framework/win32/ui_dispatcher.h"
#include "support/fake_scenarios.h"
#include "wmi/instance_loader.h"

int main() {
  using Clock = std::chrono::steady_clock;
  auto fake = std::make_shared<brevane::testing::FakeWmi>();
  brevane::testing::AddBigClass(*fake, "Bench_Big", 30001, 3);
  HWND listBox =
      CreateWindowExW(0, L"LISTBOX", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL, 0, 0, 300,
                      600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  auto dispatcher = std::make_shared<brevane::framework::win32::UiDispatcher>();
  brevane::app::win32::ListBoxInstanceList list(listBox);
  for (int run = 0; run < 2; ++run) {
    int done = -1;
    brevane::wmi::InstanceLoader loader(fake, dispatcher, brevane::wmi::RegionalSettings{});
    loader.SetMaxInstances(30000);
    loader.SetOnDone([&](int count, const std::string&) { done = count; });
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);
    const auto start = Clock::now();
    loader.RequestInstances(".", "root\\cimv2", "", "", "Bench_Big", &list);
    auto last = Clock::now();
    double longestGap = 0;
    MSG msg;
    while (done < 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
      const auto now = Clock::now();
      longestGap =
          std::max(longestGap, std::chrono::duration<double, std::milli>(now - last).count());
      last = now;
      DispatchMessageW(&msg);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    KillTimer(nullptr, timer);
    std::printf(
        "loaded %d instances (%ld lines) in %.3f s: %.0f instances/s; longest gap between messages "
        "%.1f ms\n",
        done, static_cast<long>(SendMessageW(listBox, LB_GETCOUNT, 0, 0)), seconds, done / seconds,
        longestGap);
  }
  dispatcher->Close();
  DestroyWindow(listBox);
  return 0;
}
