#pragma once
// The main window's menu bar, shortcuts and images (main_menu.cpp, main_images.cpp).
#include <windows.h>

#include <vector>

#include "framework/win32/gdi_handles.h"

namespace brevane::app::win32 {

// The ten 16 x 16 images of the menus and the sort arrows; bitmaps receives the menus' own
// copies of them.
framework::win32::UniqueImageList CreateMainImages(
    std::vector<framework::win32::UniqueBitmap>& bitmaps);
// The menu bar, with the images of bitmaps; the window it is set on destroys it.
HMENU CreateMainMenu(const std::vector<framework::win32::UniqueBitmap>& bitmaps);
framework::win32::UniqueAccelerators CreateMainAccelerators();

}  // namespace brevane::app::win32
