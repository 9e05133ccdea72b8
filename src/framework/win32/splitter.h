#pragma once
// A thin bar the user drags to share space between two neighbours. It reports the pointer's
// position in the parent's client coordinates; the parent decides the new sizes.
#include <windows.h>

#include <functional>

#include "framework/win32/window_base.h"

namespace brevane::framework::win32 {

class Splitter final : public WindowBase {
 public:
  enum class Orientation { Horizontal, Vertical };  // Horizontal: a bar across, dragged up/down

  using DragHandler = std::function<void(int parentPosition)>;

  Splitter() = default;
  bool Create(HWND parent, Orientation orientation, DragHandler onDrag);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnButtonDown(LPARAM lParam);
  void OnMouseMove(LPARAM lParam);
  void OnButtonUp();
  LRESULT OnSetCursor();

  Orientation orientation_ = Orientation::Horizontal;
  DragHandler onDrag_;
  bool dragging_ = false;
  int grabOffset_ = 0;
};

}  // namespace brevane::framework::win32
