#include "framework/win32/ui_dispatcher.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

namespace brevane::framework::win32 {
namespace {

void PumpFor(DWORD milliseconds, const std::function<bool()>& done) {
  const DWORD start = GetTickCount();
  MSG msg;
  while (!done() && GetTickCount() - start < milliseconds) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(1);
  }
}

TEST(UiDispatcherTest, StepsRunOnTheUiThreadInOrder) {
  UiDispatcher dispatcher;
  const DWORD uiThread = GetCurrentThreadId();
  std::vector<int> order;
  std::atomic<int> wrongThread{0};
  std::thread worker([&] {
    for (int i = 0; i < 1000; ++i) {
      dispatcher.Post([&, i] {
        if (GetCurrentThreadId() != uiThread) ++wrongThread;
        order.push_back(i);
      });
    }
  });
  worker.join();
  PumpFor(5000, [&] { return order.size() == 1000; });
  ASSERT_EQ(order.size(), 1000u);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(order[static_cast<size_t>(i)], i);
  EXPECT_EQ(wrongThread.load(), 0);
}

TEST(UiDispatcherTest, StepsRunInsideAModalLoopAndNotAfterClose) {
  UiDispatcher dispatcher;
  int ran = 0;
  dispatcher.Post([&] { ++ran; });
  // A modal loop (here a plain GetMessage loop, as in a message box) runs the steps too.
  MSG msg;
  while (ran == 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  EXPECT_EQ(ran, 1);
  dispatcher.Post([&] { ++ran; });
  dispatcher.Close();
  EXPECT_FALSE(dispatcher.Post([&] { ++ran; }));
  PumpFor(100, [] { return false; });
  EXPECT_EQ(ran, 1);
}

}  // namespace
}  // namespace brevane::framework::win32
