#include "framework/win32/clipboard.h"

#include <climits>
#include <memory>

namespace brevane::framework::win32 {

namespace {

// Clipboard managers and the remote desktop's clipboard helper hold it open for a few hundred
// milliseconds after every change; half a second covers them without a noticeable stall.
constexpr ULONGLONG kOpenPatienceMs = 500;
constexpr DWORD kOpenRetryMs = 20;

struct GlobalFreer {
  void operator()(void* memory) const { GlobalFree(memory); }
};
using UniqueGlobal = std::unique_ptr<void, GlobalFreer>;

class ClipboardOpen {
 public:
  explicit ClipboardOpen(HWND owner) {
    const ULONGLONG start = GetTickCount64();
    open_ = OpenClipboard(owner) != FALSE;
    while (!open_ && GetTickCount64() - start < kOpenPatienceMs) {
      Sleep(kOpenRetryMs);
      open_ = OpenClipboard(owner) != FALSE;
    }
  }
  ~ClipboardOpen() {
    if (open_) CloseClipboard();
  }
  ClipboardOpen(const ClipboardOpen&) = delete;
  ClipboardOpen& operator=(const ClipboardOpen&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_ = false;
};

// The text as UTF-16 with its terminating NUL, in movable global memory.
UniqueGlobal WideGlobalText(std::string_view text) {
  if (text.size() >= static_cast<size_t>(INT_MAX)) return nullptr;
  const int size = static_cast<int>(text.size());
  const int wide = size == 0 ? 0 : MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  if (size != 0 && wide <= 0) return nullptr;
  UniqueGlobal memory(
      GlobalAlloc(GMEM_MOVEABLE, (static_cast<size_t>(wide) + 1) * sizeof(wchar_t)));
  if (!memory) return nullptr;
  auto* buffer = static_cast<wchar_t*>(GlobalLock(memory.get()));
  if (buffer == nullptr) return nullptr;
  if (wide > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), size, buffer, wide);
  buffer[wide] = L'\0';
  GlobalUnlock(memory.get());
  return memory;
}

}  // namespace

ClipboardResult SetClipboardText(HWND owner, std::string_view text) {
  UniqueGlobal memory = WideGlobalText(text);
  if (!memory) return ClipboardResult::TooLarge;
  ClipboardOpen clipboard(owner);
  if (!clipboard.IsOpen()) return ClipboardResult::Busy;
  EmptyClipboard();
  // The clipboard owns the memory once it took it.
  if (SetClipboardData(CF_UNICODETEXT, memory.get()) == nullptr) return ClipboardResult::Busy;
  memory.release();
  return ClipboardResult::Copied;
}

}  // namespace brevane::framework::win32
