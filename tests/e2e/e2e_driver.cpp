#include "e2e/e2e_driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <thread>

#include "app/win32/command_ids.h"
#include "framework/win32/encoding.h"

namespace brevane::e2e {

using framework::win32::Utf8ToWide;
using framework::win32::WideToUtf8;

namespace {

constexpr UINT kMessageTimeoutMs = 5000;

struct WindowSearch {
  DWORD processId;
  std::function<bool(HWND)> matches;
  HWND found = nullptr;
};

BOOL CALLBACK VisitTopWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window) || !search->matches(window))
    return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindProcessWindow(DWORD processId, std::function<bool(HWND)> matches) {
  WindowSearch search{processId, std::move(matches)};
  EnumWindows(VisitTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  return name;
}

std::string ReadRemoteWide(const RemoteBuffer& buffer, size_t offset, size_t chars) {
  std::wstring text(chars, L'\0');
  if (!buffer.Read(offset, text.data(), chars * sizeof(wchar_t))) return {};
  text.resize(wcsnlen(text.c_str(), chars));
  return WideToUtf8(text);
}

// The lines of a list box or of a combo box's list, with the messages of that control.
std::vector<std::string> ItemTexts(HWND control, UINT countMessage, UINT lengthMessage,
                                   UINT textMessage) {
  std::vector<std::string> items;
  const LRESULT count = SendToProgram(control, countMessage, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendToProgram(control, lengthMessage, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    const LRESULT copied = SendToProgram(control, textMessage, static_cast<WPARAM>(i),
                                         reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    items.push_back(WideToUtf8(text));
  }
  return items;
}

constexpr size_t kTextChars = 2048;
constexpr size_t kTextOffset = 512;  // the struct goes first, the text after it
constexpr size_t kRemoteSize = kTextOffset + kTextChars * sizeof(wchar_t);

}  // namespace

LRESULT SendToProgram(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                           &result)) {
    return -1;
  }
  return static_cast<LRESULT>(result);
}

bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(Milliseconds(50));
  }
}

std::wstring ExeFromEnvironment(const char* variable) {
  const std::wstring name = Utf8ToWide(variable);
  const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  const DWORD copied = GetEnvironmentVariableW(name.c_str(), value.data(), size);
  value.resize(copied);
  // ctest passes the build's own (Unix) path when the tests run under Wine: drive Z: is the
  // root of that file system there.
  if (!value.empty() && value[0] == L'/') {
    for (wchar_t& c : value) {
      if (c == L'/') c = L'\\';
    }
    value.insert(0, L"Z:");
  }
  return value;
}

AppProcess::~AppProcess() {
  if (process_ == nullptr) return;
  if (Running()) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

bool AppProcess::Start(const std::wstring& exe, const std::wstring& arguments) {
  std::wstring commandLine;
  commandLine.append(L"\"").append(exe).append(L"\"");
  if (!arguments.empty()) commandLine.append(L" ").append(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return false;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
  return true;
}

bool AppProcess::Running() const {
  return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> AppProcess::WaitForExit(Milliseconds timeout) const {
  if (process_ == nullptr) return std::nullopt;
  if (WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

HWND AppProcess::FindTopWindow(const std::wstring& caption) const {
  return FindProcessWindow(processId_, [&](HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return caption == text && ClassOf(window) != L"#32770";
  });
}

HWND AppProcess::WaitForTopWindow(const std::wstring& caption, Milliseconds timeout) const {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopWindow(caption)) != nullptr; }, timeout);
  return found;
}

HWND AppProcess::FindMessageBox() const {
  return FindProcessWindow(processId_, [](HWND window) { return ClassOf(window) == L"#32770"; });
}

HWND AppProcess::WaitForMessageBox(Milliseconds timeout) const {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindMessageBox()) != nullptr; }, timeout);
  return found;
}

HWND AppProcess::FindDialog(const std::wstring& caption) const {
  return FindProcessWindow(processId_, [&](HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return ClassOf(window) == L"#32770" && caption == text;
  });
}

HWND AppProcess::WaitForDialog(const std::wstring& caption, Milliseconds timeout) const {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindDialog(caption)) != nullptr; }, timeout);
  return found;
}

std::string MessageBoxText(HWND box) {
  // The message text is the static control with the identifier 0xFFFF.
  HWND text = GetDlgItem(box, 0xFFFF);
  return text != nullptr ? WindowText(text) : std::string();
}

void DismissMessageBox(HWND box) {
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

std::string WindowText(HWND window) {
  const LRESULT length = SendToProgram(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendToProgram(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return WideToUtf8(text);
}

namespace {
std::string TreeItemText(HWND tree, HTREEITEM item) {
  RemoteBuffer buffer(tree, kRemoteSize);
  if (!buffer.Valid() || item == nullptr) return {};
  TVITEMW data{};
  data.mask = TVIF_TEXT | TVIF_HANDLE;
  data.hItem = item;
  data.pszText = reinterpret_cast<wchar_t*>(buffer.Address() + kTextOffset);
  data.cchTextMax = static_cast<int>(kTextChars);
  buffer.Write(0, &data, sizeof(data));
  buffer.Write(kTextOffset, L"", sizeof(wchar_t));
  SendToProgram(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer.Address()));
  return ReadRemoteWide(buffer, kTextOffset, kTextChars);
}
}  // namespace

std::vector<std::string> TreeChildTexts(HWND tree, HTREEITEM parent) {
  std::vector<std::string> texts;
  auto item = reinterpret_cast<HTREEITEM>(
      SendToProgram(tree, TVM_GETNEXTITEM, parent == TVI_ROOT ? TVGN_ROOT : TVGN_CHILD,
                    reinterpret_cast<LPARAM>(parent == TVI_ROOT ? nullptr : parent)));
  for (int guard = 0; item != nullptr && guard < 10000; ++guard) {
    texts.push_back(TreeItemText(tree, item));
    item = reinterpret_cast<HTREEITEM>(
        SendToProgram(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
  }
  return texts;
}

std::string TreeSelectedText(HWND tree) {
  return TreeItemText(
      tree, reinterpret_cast<HTREEITEM>(SendToProgram(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

std::vector<std::string> ListBoxItems(HWND listBox) {
  return ItemTexts(listBox, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

bool ClassListLoaded(HWND classList) {
  std::vector<std::string> items = ListBoxItems(classList);
  for (std::string& item : items) {
    for (char& c : item) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return !items.empty() && std::is_sorted(items.begin(), items.end());
}

void ChooseListLine(HWND owner, HWND listBox, int id, int index) {
  SendToProgram(listBox, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostMessageW(owner, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(listBox));
}

bool ChooseClassLine(HWND owner, HWND classList, const std::string& name) {
  const std::vector<std::string> classes = ListBoxItems(classList);
  const auto it = std::find(classes.begin(), classes.end(), name);
  if (it == classes.end()) return false;
  const auto index = static_cast<WPARAM>(it - classes.begin());
  SendToProgram(classList, LB_SETCURSEL, index, 0);
  // The window sorts the list once the last names came, and keeps the selected class selected.
  const std::vector<std::string> now = ListBoxItems(classList);
  const auto selected = static_cast<size_t>(SendToProgram(classList, LB_GETCURSEL, 0, 0));
  if (selected >= now.size() || now[selected] != name) return false;
  PostMessageW(owner, WM_COMMAND, MAKEWPARAM(app::win32::kIdClassList, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(classList));
  return true;
}

bool QueryRunning(HWND mainWindow) {
  return WindowText(GetDlgItem(mainWindow, app::win32::kIdRunQueryButton)) ==
         "\xE5\x81\x9C\xE6\xAD\xA2";
}

std::vector<std::string> ComboItems(HWND combo) {
  return ItemTexts(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

HWND ComboEdit(HWND combo) {
  return FindWindowExW(combo, nullptr, L"Edit", nullptr);
}

RemoteBuffer::RemoteBuffer(HWND owner, size_t size) : size_(size) {
  DWORD processId = 0;
  GetWindowThreadProcessId(owner, &processId);
  process_ =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (process_ == nullptr) return;
  address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
  if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  if (process_ != nullptr) CloseHandle(process_);
}

bool RemoteBuffer::Write(size_t offset, const void* data, size_t size) const {
  SIZE_T written = 0;
  return address_ != nullptr && offset + size <= size_ &&
         WriteProcessMemory(process_, Address() + offset, data, size, &written) && written == size;
}

bool RemoteBuffer::Read(size_t offset, void* data, size_t size) const {
  SIZE_T read = 0;
  return address_ != nullptr && offset + size <= size_ &&
         ReadProcessMemory(process_, Address() + offset, data, size, &read) && read == size;
}

std::vector<std::string> TabCaptions(HWND tabControl) {
  std::vector<std::string> captions;
  RemoteBuffer buffer(tabControl, kRemoteSize);
  if (!buffer.Valid()) return captions;
  const LRESULT count = SendToProgram(tabControl, TCM_GETITEMCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<wchar_t*>(buffer.Address() + kTextOffset);
    item.cchTextMax = static_cast<int>(kTextChars);
    buffer.Write(0, &item, sizeof(item));
    buffer.Write(kTextOffset, L"", sizeof(wchar_t));
    SendToProgram(tabControl, TCM_GETITEMW, static_cast<WPARAM>(i),
                  reinterpret_cast<LPARAM>(buffer.Address()));
    captions.push_back(ReadRemoteWide(buffer, kTextOffset, kTextChars));
  }
  return captions;
}

int SelectedTab(HWND tabControl) {
  return static_cast<int>(SendToProgram(tabControl, TCM_GETCURSEL, 0, 0));
}

std::string StatusPanelText(HWND statusBar, int panel) {
  RemoteBuffer buffer(statusBar, kRemoteSize);
  if (!buffer.Valid()) return {};
  const LRESULT info = SendToProgram(statusBar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0);
  const size_t length = LOWORD(info);
  if (length == 0 || length >= kTextChars) return {};
  buffer.Write(kTextOffset, L"", sizeof(wchar_t));
  SendToProgram(statusBar, SB_GETTEXTW, static_cast<WPARAM>(panel),
                reinterpret_cast<LPARAM>(buffer.Address() + kTextOffset));
  return ReadRemoteWide(buffer, kTextOffset, length);
}

int ListViewRowCount(HWND listView) {
  return static_cast<int>(SendToProgram(listView, LVM_GETITEMCOUNT, 0, 0));
}

std::string ListViewCell(HWND listView, int row, int column) {
  RemoteBuffer buffer(listView, kRemoteSize);
  if (!buffer.Valid()) return {};
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(buffer.Address() + kTextOffset);
  item.cchTextMax = static_cast<int>(kTextChars);
  buffer.Write(0, &item, sizeof(item));
  buffer.Write(kTextOffset, L"", sizeof(wchar_t));
  SendToProgram(listView, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                reinterpret_cast<LPARAM>(buffer.Address()));
  return ReadRemoteWide(buffer, kTextOffset, kTextChars);
}

std::vector<std::string> ListViewColumn(HWND listView, int column) {
  std::vector<std::string> cells;
  const int rows = ListViewRowCount(listView);
  for (int row = 0; row < rows; ++row) cells.push_back(ListViewCell(listView, row, column));
  return cells;
}

std::vector<HeaderColumn> ListViewHeader(HWND listView) {
  std::vector<HeaderColumn> columns;
  HWND header = reinterpret_cast<HWND>(SendToProgram(listView, LVM_GETHEADER, 0, 0));
  if (header == nullptr || header == reinterpret_cast<HWND>(-1)) return columns;
  const LRESULT count = SendToProgram(header, HDM_GETITEMCOUNT, 0, 0);
  RemoteBuffer buffer(header, kRemoteSize);
  if (!buffer.Valid()) return columns;
  for (LRESULT i = 0; i < count; ++i) {
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    item.pszText = reinterpret_cast<wchar_t*>(buffer.Address() + kTextOffset);
    item.cchTextMax = static_cast<int>(kTextChars);
    buffer.Write(0, &item, sizeof(item));
    buffer.Write(kTextOffset, L"", sizeof(wchar_t));
    SendToProgram(header, HDM_GETITEMW, static_cast<WPARAM>(i),
                  reinterpret_cast<LPARAM>(buffer.Address()));
    buffer.Read(0, &item, sizeof(item));
    HeaderColumn result;
    result.caption = ReadRemoteWide(buffer, kTextOffset, kTextChars);
    result.image = (item.fmt & HDF_IMAGE) != 0 ? item.iImage : -1;
    columns.push_back(result);
  }
  return columns;
}

int HeaderImage(HWND listView, size_t column) {
  const std::vector<HeaderColumn> columns = ListViewHeader(listView);
  return column < columns.size() ? columns[column].image : -2;
}

bool ClickListViewHeader(HWND listView, int column) {
  HWND header = reinterpret_cast<HWND>(SendToProgram(listView, LVM_GETHEADER, 0, 0));
  if (header == nullptr) return false;
  RemoteBuffer buffer(header, sizeof(RECT));
  RECT bounds{};
  if (!SendToProgram(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                     reinterpret_cast<LPARAM>(buffer.Address())) ||
      !buffer.Read(0, &bounds, sizeof(bounds))) {
    return false;
  }
  const LPARAM point =
      MAKELPARAM((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
  PostMessageW(header, WM_MOUSEMOVE, 0, point);
  PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageW(header, WM_LBUTTONUP, 0, point);
  return true;
}

namespace {
// The middle of a rectangle a control's message writes into the target process; rectMessage's
// wParam is `index`, and its RECT arrives with `first` in its first field.
std::optional<LPARAM> RemoteRectCenter(HWND control, UINT rectMessage, WPARAM index, LONG first) {
  RemoteBuffer buffer(control, sizeof(RECT));
  RECT bounds{first, 0, 0, 0};
  if (!buffer.Write(0, &bounds, sizeof(bounds)) ||
      !SendToProgram(control, rectMessage, index, reinterpret_cast<LPARAM>(buffer.Address())) ||
      !buffer.Read(0, &bounds, sizeof(bounds))) {
    return std::nullopt;
  }
  return MAKELPARAM((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
}
}  // namespace

bool DoubleClickListViewRow(HWND listView, int row) {
  const auto point =
      RemoteRectCenter(listView, LVM_GETITEMRECT, static_cast<WPARAM>(row), LVIR_LABEL);
  if (!point) return false;
  PostMessageW(listView, WM_LBUTTONDOWN, MK_LBUTTON, *point);
  PostMessageW(listView, WM_LBUTTONUP, 0, *point);
  PostMessageW(listView, WM_LBUTTONDBLCLK, MK_LBUTTON, *point);
  PostMessageW(listView, WM_LBUTTONUP, 0, *point);
  return true;
}

bool ClickTab(HWND tabControl, int index) {
  const auto point = RemoteRectCenter(tabControl, TCM_GETITEMRECT, static_cast<WPARAM>(index), 0);
  if (!point) return false;
  PostMessageW(tabControl, WM_LBUTTONDOWN, MK_LBUTTON, *point);
  PostMessageW(tabControl, WM_LBUTTONUP, 0, *point);
  return true;
}

void PostMenuCommand(HWND window, int id) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void PostButtonClick(HWND button) {
  PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

void PostChar(HWND window, wchar_t character) {
  PostMessageW(window, WM_CHAR, character, 0);
}

bool Sync(HWND window, Milliseconds timeout) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeout.count()),
                             &result) != 0;
}

}  // namespace brevane::e2e
