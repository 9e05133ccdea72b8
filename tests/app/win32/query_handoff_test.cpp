#include "app/win32/query_handoff.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include "app/win32/temp_folder.h"

namespace brevane::app {
namespace {

using testing_support::TempFolder;

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::string ReadAll(const std::wstring& path) {
  std::string bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

std::string Hex(const std::string& bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
  return out;
}

// The peer program in "listen" mode, ended when the test ends.
class ListeningPeer {
 public:
  ListeningPeer(const TempFolder& folder, const std::wstring& extra)
      : record_(folder.File(L"peer.txt")) {
    std::wstring commandLine =
        L"\"" + ExeFolder() + L"kestrum_peer.exe\" listen \"" + record_ + L"\" " + extra;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &process_) != 0;
    if (!started_) return;
    CloseHandle(process_.hThread);
    const ULONGLONG deadline = GetTickCount64() + 20000;
    while (GetTickCount64() < deadline && !handle_) {
      const std::string text = ReadAll(record_ + L".hwnd");
      if (!text.empty()) handle_ = std::stoi(text);
      if (!handle_) Sleep(50);
    }
  }
  ~ListeningPeer() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 15000) != WAIT_OBJECT_0) {
      TerminateProcess(process_.hProcess, 1);
    }
    CloseHandle(process_.hProcess);
  }
  ListeningPeer(const ListeningPeer&) = delete;
  ListeningPeer& operator=(const ListeningPeer&) = delete;

  int32_t Handle() const { return handle_; }
  std::string Record() const { return ReadAll(record_); }
  void WaitForExit() const { WaitForSingleObject(process_.hProcess, 15000); }

 private:
  std::wstring record_;
  PROCESS_INFORMATION process_{};
  bool started_ = false;
  int32_t handle_ = 0;
};

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
  EXPECT_EQ(peer.Record(), "dwData=107355 cbData=31 wParamIsWindow=1 bytes=" + Hex(query) + "00\n");
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
}  // namespace brevane::app
