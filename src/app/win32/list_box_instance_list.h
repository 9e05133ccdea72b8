#pragma once
// The instance list box as the loader's target list.
#include <windows.h>

#include <optional>

#include "framework/win32/redraw_suspension.h"
#include "wmi/instance_list.h"

namespace brevane::app::win32 {

class ListBoxInstanceList final : public wmi::InstanceList {
 public:
  explicit ListBoxInstanceList(HWND listBox) : listBox_(listBox) {}
  int Count() const override;
  void Append(const std::string& line) override;
  void ReplaceLast(const std::string& line) override;
  void DeleteLast() override;
  void Clear() override;
  void BeginUpdate() override;
  void EndUpdate() override;

 private:
  HWND listBox_;
  int updateDepth_ = 0;
  std::optional<framework::win32::RedrawSuspension> redraw_;
};

}  // namespace brevane::app::win32
