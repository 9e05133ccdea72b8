#pragma once
// The control interfaces of the helpers, over the real Win32 combo box and list box.
#include <windows.h>

#include "util/list_controls.h"

namespace brevane::framework::win32 {

class Win32ComboBox final : public util::ComboBoxControl {
 public:
  explicit Win32ComboBox(HWND combo) : combo_(combo) {}
  int ItemCount() const override;
  std::string ItemText(int index) const override;
  void DeleteItem(int index) override;
  void InsertItem(int index, const std::string& text) override;
  std::string EditText() const override;
  void SetEditText(const std::string& text) override;
  HWND Handle() const { return combo_; }

 private:
  HWND combo_;
};

class Win32ListBox final : public util::ListBoxControl {
 public:
  explicit Win32ListBox(HWND list) : list_(list) {}
  int ItemCount() const override;
  std::string ItemText(int index) const override;
  int SelectedIndex() const override;
  void Select(int index) override;
  HWND Handle() const { return list_; }

 private:
  HWND list_;
};

// Window text as UTF-8, and back.
std::string GetWindowTextUtf8(HWND window);
void SetWindowTextUtf8(HWND window, const std::string& text);

}  // namespace brevane::framework::win32
