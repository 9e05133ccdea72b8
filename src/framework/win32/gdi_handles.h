#pragma once
// Move-only owners of the GDI, menu, accelerator and image-list handles the windows create.
#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace brevane::framework::win32 {

template <typename Handle, typename Deleter>
class UniqueHandleOf {
 public:
  UniqueHandleOf() = default;
  explicit UniqueHandleOf(Handle handle) : handle_(handle) {}
  UniqueHandleOf(UniqueHandleOf&& other) noexcept
      : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandleOf& operator=(UniqueHandleOf&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  UniqueHandleOf(const UniqueHandleOf&) = delete;
  UniqueHandleOf& operator=(const UniqueHandleOf&) = delete;
  ~UniqueHandleOf() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  Handle Release() { return std::exchange(handle_, nullptr); }
  void Reset(Handle handle = nullptr) {
    if (handle_ != nullptr) Deleter{}(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct MenuDeleter {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct AcceleratorDeleter {
  void operator()(HACCEL table) const { DestroyAcceleratorTable(table); }
};
struct ImageListDeleter {
  void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};
struct DcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};

using UniqueFont = UniqueHandleOf<HFONT, GdiObjectDeleter>;
using UniqueBitmap = UniqueHandleOf<HBITMAP, GdiObjectDeleter>;
using UniqueBrush = UniqueHandleOf<HBRUSH, GdiObjectDeleter>;
using UniquePen = UniqueHandleOf<HPEN, GdiObjectDeleter>;
using UniqueMenu = UniqueHandleOf<HMENU, MenuDeleter>;
using UniqueAccelerators = UniqueHandleOf<HACCEL, AcceleratorDeleter>;
using UniqueImageList = UniqueHandleOf<HIMAGELIST, ImageListDeleter>;
using UniqueMemoryDc = UniqueHandleOf<HDC, DcDeleter>;

// Selects an object into a device context for one scope.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectObjectScope() { SelectObject(dc_, previous_); }
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A window's device context for one scope.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace brevane::framework::win32
