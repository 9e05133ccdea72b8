#include "framework/win32/drawn_bitmap.h"

#include <algorithm>

namespace brevane::framework::win32 {

UniqueBitmap DrawBitmap(int side, const std::function<void(HDC dc)>& draw,
                        std::optional<COLORREF> opaque) {
  if (side <= 0) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = side;
  info.bmiHeader.biHeight = -side;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap.Get() || !bits) return {};
  auto* pixels = static_cast<DWORD*>(bits);
  const size_t count = static_cast<size_t>(side) * static_cast<size_t>(side);
  // GDI draws no alpha, so a key colour that no picture uses marks the background.
  constexpr DWORD kKey = 0x00FF00FF;
  std::fill(pixels, pixels + count, kKey);
  {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc.Get()) return {};
    SelectObjectScope selected(dc.Get(), bitmap.Get());
    draw(dc.Get());
    GdiFlush();
  }
  // DIB pixels are BGR, COLORREF is RGB.
  const DWORD background =
      opaque
          ? (GetRValue(*opaque) << 16 | GetGValue(*opaque) << 8 | GetBValue(*opaque) | 0xFF000000)
          : 0;
  for (size_t i = 0; i < count; ++i) {
    pixels[i] = (pixels[i] & 0x00FFFFFF) == kKey ? background : (pixels[i] | 0xFF000000);
  }
  return bitmap;
}

}  // namespace brevane::framework::win32
