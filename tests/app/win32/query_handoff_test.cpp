#include "app/win32/query_handoff.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include "app/win32/listening_peer.h"
#include "app/win32/temp_folder.h"

namespace brevane::app::win32 {
namespace {

using testing::HexBytes;
using testing::ListeningPeer;
using testing::TempFolder;

class OwnWindow {
 public:
  OwnWindow()
      : window_(CreateWindowExW(0, L"STATIC", L"sender", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  ~OwnWindow() { DestroyWindow(window_); }
  OwnWindow(const OwnWindow&) = delete;
  OwnWindow& operator=(const OwnWindow&) = delete;
  HWND Get() const { return window_; }

 private:
  HWND window_;
};

TEST(QueryHandoffTest, HandlesAreSignExtended) {
  EXPECT_EQ(reinterpret_cast<intptr_t>(MonitorWindowHandle(1234)), 1234);
  EXPECT_EQ(reinterpret_cast<intptr_t>(MonitorWindowHandle(-2)), -2);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(MonitorWindowHandle(INT32_MIN)),
            static_cast<uintptr_t>(0xFFFFFFFF80000000ull));
  OwnWindow own;
  const auto value = static_cast<int32_t>(reinterpret_cast<intptr_t>(own.Get()));
  EXPECT_EQ(MonitorWindowHandle(value), own.Get());
}

TEST(QueryHandoffTest, PeerReceivesTheTextWithItsZeroByte) {
  TempFolder folder;
  ListeningPeer peer(folder, L"");
  ASSERT_NE(peer.Handle(), 0) << "kestrum_peer.exe did not start";
  OwnWindow own;
  const std::string query = "select Name from Win32_Service";
  EXPECT_TRUE(SendQueryHandoff(own.Get(), MonitorWindowHandle(peer.Handle()), query));
  peer.WaitForExit();
  EXPECT_EQ(peer.Record(),
            "dwData=107355 cbData=31 wParamIsWindow=1 bytes=" + HexBytes(query) + "00\n");
}

TEST(QueryHandoffTest, PeerThatNeverAnswersCostsTheTimeOutOnly) {
  TempFolder folder;
  ListeningPeer peer(folder, L"--hang 4000");
  ASSERT_NE(peer.Handle(), 0) << "kestrum_peer.exe did not start";
  OwnWindow own;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(SendQueryHandoff(own.Get(), MonitorWindowHandle(peer.Handle()), "select x"));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(1500));
  EXPECT_LT(elapsed, std::chrono::milliseconds(3500));
  EXPECT_NE(peer.Record().find("cbData=9 "), std::string::npos);
}

TEST(QueryHandoffTest, GoneWindowFailsAtOnce) {
  HWND gone = CreateWindowExW(0, L"STATIC", L"gone", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  const auto value = static_cast<int32_t>(reinterpret_cast<intptr_t>(gone));
  DestroyWindow(gone);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(SendQueryHandoff(nullptr, MonitorWindowHandle(value), "select x"));
  EXPECT_FALSE(SendQueryHandoff(nullptr, MonitorWindowHandle(0), "select x"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

}  // namespace
}  // namespace brevane::app::win32
