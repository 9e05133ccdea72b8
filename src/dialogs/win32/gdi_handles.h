#pragma once
// Move-only owners of the GDI and common-control handles the dialogs make.
#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace brevane::dialogs::win32 {

template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  Handle Get() const { return handle_; }
  void Reset() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
  }

 private:
  Handle handle_ = nullptr;
};

using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;

class ImageList {
 public:
  ImageList() = default;
  explicit ImageList(HIMAGELIST list) : list_(list) {}
  ~ImageList() {
    if (list_) ImageList_Destroy(list_);
  }
  ImageList(ImageList&& other) noexcept : list_(std::exchange(other.list_, nullptr)) {}
  ImageList& operator=(ImageList&& other) noexcept {
    if (this != &other) {
      if (list_) ImageList_Destroy(list_);
      list_ = std::exchange(other.list_, nullptr);
    }
    return *this;
  }
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;
  HIMAGELIST Get() const { return list_; }

 private:
  HIMAGELIST list_ = nullptr;
};

// Selects an object into a device context for one scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, previous_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

class MemoryDc {
 public:
  MemoryDc() : dc_(CreateCompatibleDC(nullptr)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace brevane::dialogs::win32
