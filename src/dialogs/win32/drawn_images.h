#pragma once
// The dialogs' pictures, drawn by our own code so that no image file is needed.
#include <windows.h>

#include "framework/win32/gdi_handles.h"

namespace brevane::dialogs::win32 {

// A button image list: the network-computer picture of the connect dialog's browse button
// (normal, hot, pressed, disabled in grey, default, stylus hot), side x side pixels.
brevane::framework::win32::UniqueImageList CreateBrowseButtonImages(int side);
// The same picture on an opaque background, for buttons without image-list support (common
// controls before version 6), which grey a disabled button's bitmap themselves.
brevane::framework::win32::UniqueBitmap CreateBrowseButtonBitmap(int side, COLORREF background);
// The same for the about box's OK button: a green check mark.
brevane::framework::win32::UniqueImageList CreateCheckMarkImages(int side);

// The product logo into rect (195 x 90 at 96 DPI).
void DrawLogo(HDC dc, const RECT& rect);

}  // namespace brevane::dialogs::win32
