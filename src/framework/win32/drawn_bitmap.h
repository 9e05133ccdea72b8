#pragma once
// Pictures drawn by our own code (menu and button images), so that no image file needs to ship
// with the program.
#include <windows.h>

#include <functional>
#include <optional>

#include "framework/win32/gdi_handles.h"

namespace brevane::framework::win32 {

// A side x side 32-bit bitmap (alpha set) that draw paints with GDI. What draw leaves untouched
// is transparent or, when opaque is given, that colour (for buttons that cannot show alpha).
// Empty when the bitmap cannot be made.
UniqueBitmap DrawBitmap(int side, const std::function<void(HDC dc)>& draw,
                        std::optional<COLORREF> opaque = std::nullopt);

}  // namespace brevane::framework::win32
