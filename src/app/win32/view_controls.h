#pragma once
// Small helpers the views and the frame share: the layout's measures, tabs and columns, the
// context menus, and copying from the lists.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace brevane::app::win32 {

class ViewHost;

// Measures of the window's layout, in pixels at 96 DPI.
inline constexpr int kStripHeight = 26;  // the query strips of both tabs
inline constexpr int kSplitterSize = 8;
inline constexpr int kButtonWidth = 57;
inline constexpr int kLabelWidth = 34;
inline constexpr int kGap = 4;
inline constexpr int kComboDropHeight = 220;

// A rectangle whose right and bottom edges never lie before its left and top ones.
RECT Bounds(int left, int top, int right, int bottom);
// The display area of a tab control, in its parent's client coordinates.
RECT TabPageArea(HWND tabControl, const RECT& bounds);
void AddTab(HWND tabControl, int index, const std::string& caption);
void AddReportColumn(HWND listView, int index, const wchar_t* caption, int width);
// Column widths, also those the user dragged, keep their size in 96-DPI pixels.
void RescaleColumns(HWND listView, UINT dpi, UINT previous);
void SetControlsFont(std::initializer_list<HWND> controls, HFONT font);

// id 0 appends a separator.
void AppendMenuItem(HMENU menu, int id, const char* caption);
void EnableMenuCommand(HMENU menu, int id, bool enabled);
// Sets a menu item's caption exactly as given (no accelerator marks) and its state.
void SetMenuItemCaption(HMENU menu, int id, const std::string& caption, bool enabled);
// Opens a context menu whose commands go to the frame.
void TrackContextMenu(HMENU menu, HWND frame, POINT point);

bool IsEditField(HWND control);
// Ctrl+A: an edit field selects its text; listView, when it is the control, all its rows.
void SelectAll(HWND control, HWND listView);
// The whole text of a list box line.
std::string ListBoxLine(HWND list, int index);
std::vector<int> SelectedListViewRows(HWND listView);
// Puts text on the clipboard; a failure is shown in status panel 2.
void CopyToClipboard(ViewHost& host, const std::string& text);

}  // namespace brevane::app::win32
