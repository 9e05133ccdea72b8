#include "framework/win32/ui_dispatcher.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
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

std::vector<HWND> DispatcherWindows() {
  std::vector<HWND> windows;
  HWND window = nullptr;
  while ((window = FindWindowExW(HWND_MESSAGE, window, L"BrevaneUiDispatcher", nullptr)))
    windows.push_back(window);
  return windows;
}

// A worker may hold the last share of the dispatcher. Its wake message, still queued, must not
// reach the freed dispatcher, and the hidden window must still go, on the UI thread.
TEST(UiDispatcherTest, DroppedLastOnAWorkerItsWindowClosesOnTheUiThread) {
  const std::vector<HWND> before = DispatcherWindows();
  auto dispatcher = std::make_shared<UiDispatcher>();
  HWND window = nullptr;
  for (HWND candidate : DispatcherWindows()) {
    if (std::find(before.begin(), before.end(), candidate) == before.end()) window = candidate;
  }
  ASSERT_NE(window, nullptr);
  int ran = 0;
  ASSERT_TRUE(dispatcher->Post([&] { ++ran; }));
  std::thread([last = std::move(dispatcher)]() mutable { last.reset(); }).join();
  PumpFor(2000, [&] { return !IsWindow(window); });
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(ran, 0);
}

}  // namespace
}  // namespace brevane::framework::win32
