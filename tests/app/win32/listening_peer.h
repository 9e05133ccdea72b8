#pragma once
// The monitor's stand-in (kestrum_peer.exe, built beside the test programs) in "listen" mode,
// for the tests of the query hand-off. Ended when the test ends.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/win32/temp_folder.h"

namespace brevane::testing {

inline std::wstring TestExeFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

inline std::string ReadWholeFile(const std::wstring& path) {
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

inline std::string HexBytes(const std::string& bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
  return out;
}

class ListeningPeer {
 public:
  // extra: more arguments for the peer, such as "--hang 4000".
  ListeningPeer(const TempFolder& folder, const std::wstring& extra)
      : record_(folder.File(L"peer.txt")) {
    std::wstring commandLine =
        L"\"" + TestExeFolder() + L"kestrum_peer.exe\" listen \"" + record_ + L"\" " + extra;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &process_) != 0;
    if (!started_) return;
    CloseHandle(process_.hThread);
    const ULONGLONG deadline = GetTickCount64() + 20000;
    while (GetTickCount64() < deadline && handle_ == 0) {
      const std::string text = ReadWholeFile(record_ + L".hwnd");
      handle_ = static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
      if (handle_ == 0) Sleep(50);
    }
  }
  ~ListeningPeer() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 1000) != WAIT_OBJECT_0) {
      TerminateProcess(process_.hProcess, 1);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hProcess);
  }
  ListeningPeer(const ListeningPeer&) = delete;
  ListeningPeer& operator=(const ListeningPeer&) = delete;

  // The peer window's handle as "-kt:" takes it; 0 when the peer did not start.
  int32_t Handle() const { return handle_; }
  // One line per WM_COPYDATA received.
  std::string Record() const { return ReadWholeFile(record_); }
  void WaitForExit() const { WaitForSingleObject(process_.hProcess, 15000); }

 private:
  std::wstring record_;
  PROCESS_INFORMATION process_{};
  bool started_ = false;
  int32_t handle_ = 0;
};

}  // namespace brevane::testing
