// A helper for the run script, the screenshot script and the tests.
//   wintool wait-window <caption> <timeout-ms>   exit 0 once a visible window has the caption
//   wintool close-window <caption> <timeout-ms>  posts WM_CLOSE, exit 0 once it is gone
//   wintool rect <caption> <timeout-ms>          prints the window's "left top width height"
//   wintool command <caption> <id>               posts WM_COMMAND as the menu item <id> does
//   wintool choose <caption> <list-id> <text>    selects that line of a list box as a click does
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
  // Message boxes carry the program's caption too; only our own windows count, and dialogs
  // are found by their own captions.
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (std::wcscmp(className, L"#32770") == 0 && std::wcscmp(search->caption, L"Brevane") == 0)
    return TRUE;
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
  std::fputws(
      L"usage: wintool wait-window|close-window|rect <caption> <timeout-ms>\n"
      L"       wintool command <caption> <id>\n"
      L"       wintool choose <caption> <list-id> <text>\n",
      stderr);
  return 2;
}

bool ParseNumber(const wchar_t* text, unsigned long limit, unsigned long& value) {
  wchar_t* end = nullptr;
  value = std::wcstoul(text, &end, 10);
  return end != text && *end == L'\0' && value <= limit;
}

int Choose(const wchar_t* caption, const wchar_t* listId, const wchar_t* line) {
  unsigned long id = 0;
  if (!ParseNumber(listId, 65535, id)) return Usage();
  HWND window = FindVisibleWindow(caption);
  HWND list = window ? GetDlgItem(window, static_cast<int>(id)) : nullptr;
  if (list == nullptr) return 1;
  const LRESULT index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(line));
  if (index == LB_ERR) return 1;
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 5 && std::wstring(argv[1]) == L"choose") return Choose(argv[2], argv[3], argv[4]);
  if (argc != 4) return Usage();
  const std::wstring command = argv[1];
  const wchar_t* caption = argv[2];
  wchar_t* end = nullptr;
  const unsigned long timeout = std::wcstoul(argv[3], &end, 10);
  if (end == argv[3] || *end != L'\0' || timeout > 3600000UL) return Usage();

  if (command == L"wait-window") return WaitFor(timeout, true, caption) ? 0 : 1;
  if (command == L"rect") {
    if (!WaitFor(timeout, true, caption)) return 1;
    RECT rect{};
    GetWindowRect(FindVisibleWindow(caption), &rect);
    std::wprintf(L"%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top);
    return 0;
  }
  if (command == L"command") {
    HWND window = FindVisibleWindow(caption);
    if (window == nullptr) return 1;
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(timeout, 0), 0);
    return 0;
  }
  if (command == L"close-window") {
    HWND window = FindVisibleWindow(caption);
    if (window == nullptr) return 1;
    PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitFor(timeout, false, caption) ? 0 : 1;
  }
  return Usage();
}
