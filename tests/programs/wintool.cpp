// A helper for the run script and the tests: waits for a top-level window or closes it.
//   wintool wait-window <caption> <timeout-ms>   exit 0 once a visible window has the caption
//   wintool close-window <caption> <timeout-ms>  posts WM_CLOSE, exit 0 once it is gone
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

struct Search {
  const wchar_t* caption;
  HWND found;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (!IsWindowVisible(window)) return TRUE;
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  if (std::wcscmp(text, search->caption) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindVisibleWindow(const wchar_t* caption) {
  Search search{caption, nullptr};
  EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool WaitFor(DWORD timeoutMs, bool wantPresent, const wchar_t* caption) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if ((FindVisibleWindow(caption) != nullptr) == wantPresent) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(100);
  }
}

int Usage() {
  std::fputws(L"usage: wintool wait-window|close-window <caption> <timeout-ms>\n", stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return Usage();
  const std::wstring command = argv[1];
  const wchar_t* caption = argv[2];
  wchar_t* end = nullptr;
  const unsigned long timeout = std::wcstoul(argv[3], &end, 10);
  if (end == argv[3] || *end != L'\0' || timeout > 3600000UL) return Usage();

  if (command == L"wait-window") return WaitFor(timeout, true, caption) ? 0 : 1;
  if (command == L"close-window") {
    HWND window = FindVisibleWindow(caption);
    if (window == nullptr) return 1;
    PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitFor(timeout, false, caption) ? 0 : 1;
  }
  return Usage();
}
