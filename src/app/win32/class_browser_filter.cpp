// The filter box above the class list: typing narrows the list to the classes whose names
// contain the text; Esc or an empty box shows every class again. The rule is the portable
// ClassFilter's; the list box holds only what is shown, so searching stays within it.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/win32/command_ids.h"
#include "app/win32/class_browser_view.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/window_base.h"
#include "framework/win32/controls.h"
#include "framework/win32/encoding.h"
#include "framework/win32/redraw_suspension.h"
#include "util/history.h"
#include "util/text.h"

namespace brevane::app::win32 {

namespace {

constexpr UINT_PTR kFilterEditSubclassId = 2;

}  // namespace

LRESULT CALLBACK ClassBrowserView::FilterEditProc(HWND edit, UINT message, WPARAM wParam,
                                                  LPARAM lParam, UINT_PTR, DWORD_PTR refData) {
  auto* window = reinterpret_cast<ClassBrowserView*>(refData);
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
    framework::win32::RunGuarded(window->host_.Frame(), [&] {
      SetWindowTextW(edit, L"");
      window->ApplyClassFilter(std::string());
    });
    return 0;
  }
  if (message == WM_CHAR && (wParam == VK_ESCAPE || wParam == L'\r')) return 0;  // no beep
  if (message == WM_KEYDOWN && wParam == VK_RETURN) {
    // Enter keeps the text in the box's history and goes on to the list.
    framework::win32::RunGuarded(window->host_.Frame(), [&] {
      framework::win32::Win32ComboBox combo(window->classFilterCombo_);
      util::AddToHistory(combo, window->ClassFilterText());
      SetFocus(window->classList_);
    });
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, FilterEditProc, kFilterEditSubclassId);
  return DefSubclassProc(edit, message, wParam, lParam);
}

void ClassBrowserView::CreateClassFilterBox(HFONT font) {
  constexpr DWORD kVisible = WS_VISIBLE | WS_CLIPSIBLINGS;
  classFilterLabel_ = framework::win32::CreateChild(
      host_.Frame(), WC_STATICW, "筛选", kVisible | SS_CENTERIMAGE, 0, kIdClassFilterLabel, font);
  classFilterCombo_ = framework::win32::CreateChild(
      host_.Frame(), WC_COMBOBOXW, "",
      kVisible | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, kIdClassFilterCombo,
      font);
  filterHistory_ = framework::win32::Win32ComboBox(classFilterCombo_);
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (GetComboBoxInfo(classFilterCombo_, &info) && info.hwndItem != nullptr) {
    SetWindowSubclass(info.hwndItem, FilterEditProc, kFilterEditSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
  }
}

std::string ClassBrowserView::ClassFilterText() const {
  return classFilterCombo_ != nullptr ? framework::win32::GetWindowTextUtf8(classFilterCombo_)
                                      : std::string();
}

void ClassBrowserView::ClassFilterChange(int notification) {
  switch (notification) {
    case CBN_EDITCHANGE:
      ApplyClassFilter(ClassFilterText());
      return;
    case CBN_SELCHANGE: {
      // The edit field takes the chosen entry only after this notification.
      framework::win32::Win32ComboBox combo(classFilterCombo_);
      const auto index = static_cast<int>(SendMessageW(classFilterCombo_, CB_GETCURSEL, 0, 0));
      if (index >= 0) ApplyClassFilter(combo.ItemText(index));
      return;
    }
    case CBN_KILLFOCUS: {
      framework::win32::Win32ComboBox combo(classFilterCombo_);
      const std::string text = ClassFilterText();
      if (!ClassFilter::Normalized(text).empty()) util::AddToHistory(combo, text);
      return;
    }
    default:
      return;
  }
}

void ClassBrowserView::ShowClassList(util::StringList classes) {
  classFilter_.SetNames(std::move(classes));
  ApplyClassFilter(ClassFilterText());
}

void ClassBrowserView::ApplyClassFilter(const std::string& text) {
  // The selected class stays chosen while it is shown. A filter that hid it took the list's
  // selection away: the class the panes still show is chosen again once the filter lets it
  // through, so that copy and the class menu have it as their target.
  framework::win32::Win32ListBox classList(classList_);
  const int selected = classList.SelectedIndex();
  const std::string selectedName = selected >= 0 ? classList.ItemText(selected) : currentClass_;
  const std::vector<int> shown = classFilter_.Matches(text);
  const std::vector<std::string>& names = classFilter_.Names();
  {
    framework::win32::RedrawSuspension redraw(classList_);
    SendMessageW(classList_, LB_RESETCONTENT, 0, 0);
    SendMessageW(classList_, LB_INITSTORAGE, shown.size(), static_cast<LPARAM>(shown.size() * 32));
    int reselect = -1;
    for (int index : shown) {
      const std::string& name = names[static_cast<size_t>(index)];
      const std::wstring wide = framework::win32::Utf8ToWide(name);
      const LRESULT added =
          SendMessageW(classList_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
      if (!selectedName.empty() && name == selectedName) reselect = static_cast<int>(added);
    }
    // The chosen class stays chosen while it is shown; nothing is loaded again.
    if (reselect >= 0) SendMessageW(classList_, LB_SETCURSEL, static_cast<WPARAM>(reselect), 0);
  }
  ShowClassCount();
}

void ClassBrowserView::ShowClassCount() {
  const size_t shown = static_cast<size_t>(framework::win32::Win32ListBox(classList_).ItemCount());
  const bool filtering = !ClassFilter::Normalized(ClassFilterText()).empty();
  host_.SetStatus(1, ClassCountText(shown, classFilter_.Names().size(), filtering));
}

int ClassBrowserView::ListedClassIndex(const std::string& className) {
  const std::wstring wide = framework::win32::Utf8ToWide(className);
  const auto find = [&] {
    return SendMessageW(classList_, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(wide.c_str()));
  };
  LRESULT index = find();
  const auto& names = classFilter_.Names();
  const bool hidden = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
    return util::AsciiLower(name) == util::AsciiLower(className);
  });
  if (index == LB_ERR && hidden) {
    SetWindowTextW(classFilterCombo_, L"");
    ApplyClassFilter(std::string());
    index = find();
  }
  return index == LB_ERR ? -1 : static_cast<int>(index);
}

void ClassBrowserView::FocusClassFilter() {
  host_.Activate(*this);
  SetFocus(classFilterCombo_);
  SendMessageW(classFilterCombo_, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

}  // namespace brevane::app::win32
