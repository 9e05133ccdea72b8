// Stands in for the monitoring program on the receiving end of the query hand-off.
//
//   kestrum_peer listen <record file> [--hang <ms>]
//       Creates its window, writes the window's handle (a signed 32-bit decimal, as "-kt:"
//       takes it) to "<record file>.hwnd", and waits up to 60 s for one WM_COPYDATA.
//   kestrum_peer launch <record file> [--hang <ms>] <program> [arguments...]
//       The same window; starts <program> with "-kt:<handle>" and the arguments, and runs
//       until the program ends (at most 120 s).
//
// Each WM_COPYDATA received is appended to the record file as "dwData=... cbData=...
// wParamIsWindow=0|1 bytes=<hex>" on one line, before the --hang pause (a receiver that never
// answers in time).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct PeerState {
  std::wstring recordFile;
  DWORD hangMs = 0;
  int received = 0;
};

void AppendRecord(const PeerState& state, const COPYDATASTRUCT& data, HWND sender) {
  std::string line = "dwData=" + std::to_string(static_cast<unsigned long long>(data.dwData)) +
                     " cbData=" + std::to_string(data.cbData) +
                     " wParamIsWindow=" + (IsWindow(sender) ? "1" : "0") + " bytes=";
  const auto* bytes = static_cast<const unsigned char*>(data.lpData);
  static const char kHex[] = "0123456789abcdef";
  for (DWORD i = 0; bytes && i < data.cbData; ++i) {
    line += kHex[bytes[i] >> 4];
    line += kHex[bytes[i] & 15];
  }
  line += "\n";
  if (FILE* file = _wfopen(state.recordFile.c_str(), L"ab")) {
    fwrite(line.data(), 1, line.size(), file);
    fclose(file);
  }
}

LRESULT CALLBACK PeerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  } else if (message == WM_COPYDATA) {
    auto* state = reinterpret_cast<PeerState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (state && lParam) {
      AppendRecord(*state, *reinterpret_cast<const COPYDATASTRUCT*>(lParam),
                   reinterpret_cast<HWND>(wParam));
      ++state->received;
      if (state->hangMs) Sleep(state->hangMs);
    }
    return TRUE;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool WriteHandleFile(const std::wstring& recordFile, HWND window) {
  const std::wstring temporary = recordFile + L".hwnd.tmp";
  const std::string text =
      std::to_string(static_cast<int32_t>(reinterpret_cast<intptr_t>(window))) + "\n";
  FILE* file = _wfopen(temporary.c_str(), L"wb");
  if (!file) return false;
  fwrite(text.data(), 1, text.size(), file);
  fclose(file);
  return MoveFileExW(temporary.c_str(), (recordFile + L".hwnd").c_str(),
                     MOVEFILE_REPLACE_EXISTING) != 0;
}

std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t") == std::wstring::npos) return argument;
  return L"\"" + argument + L"\"";
}

// Runs the message loop until `until` is signalled (or, without it, until one message was
// received) or the time is up.
void Pump(const PeerState& state, HANDLE until, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return;
    if (!until && state.received > 0) return;
    const DWORD handles = until ? 1 : 0;
    const DWORD wait = MsgWaitForMultipleObjects(handles, &until, FALSE,
                                                 static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    if (wait == WAIT_OBJECT_0 && until) return;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

int Usage() {
  fwprintf(stderr,
           L"usage: kestrum_peer listen|launch <record file> [--hang <ms>] "
           L"[<program> [arguments...]]\n");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return Usage();
  const std::wstring mode = argv[1];
  PeerState state;
  state.recordFile = argv[2];
  int next = 3;
  if (next + 1 < argc && std::wstring(argv[next]) == L"--hang") {
    state.hangMs = static_cast<DWORD>(wcstoul(argv[next + 1], nullptr, 10));
    next += 2;
  }
  if (mode != L"listen" && (mode != L"launch" || next >= argc)) return Usage();

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = PeerWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"KestrumPeerWindow";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Kestrum peer", WS_OVERLAPPED, 0, 0,
                                100, 100, nullptr, nullptr, windowClass.hInstance, &state);
  if (!window) return 3;

  if (mode == L"listen") {
    if (!WriteHandleFile(state.recordFile, window)) return 4;
    Pump(state, nullptr, 60000);
  } else {
    std::wstring commandLine =
        Quoted(argv[next]) + L" -kt:" +
        std::to_wstring(static_cast<int32_t>(reinterpret_cast<intptr_t>(window)));
    for (int i = next + 1; i < argc; ++i) commandLine += L" " + Quoted(argv[i]);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
      return 5;
    }
    CloseHandle(process.hThread);
    Pump(state, process.hProcess, 120000);
    CloseHandle(process.hProcess);
  }
  DestroyWindow(window);
  return 0;
}
