#pragma once
// Creating child controls with the GUI font, and small helpers for the standard controls.
#include <windows.h>

#include <string>
#include <string_view>

#include "framework/win32/dpi.h"
#include "framework/win32/gdi_handles.h"

namespace brevane::framework::win32 {

// The user's message font at the given DPI.
UniqueFont CreateGuiFont(const DpiScale& scale);

// A child control, with the font set; positioned later by the owner's layout.
HWND CreateChild(HWND parent, const wchar_t* className, std::string_view text, DWORD style,
                 DWORD exStyle, int id, HFONT font);

// Height in pixels of a text drawn in a font.
int TextHeight(HWND window, HFONT font, std::wstring_view sample);

void MoveChild(HWND child, const RECT& bounds);

// The whole text of a list view cell, however long.
std::string ListViewText(HWND listView, int row, int column);
void SetListViewText(HWND listView, int row, int column, const std::string& text);

// Status bar panels: right edges from the panel widths; texts in UTF-8.
void SetStatusPanels(HWND statusBar, const int* widths, int count);
void SetStatusText(HWND statusBar, int panel, const std::string& text);
std::string GetStatusText(HWND statusBar, int panel);

}  // namespace brevane::framework::win32
