#include "framework/win32/splitter.h"

#include <windowsx.h>

namespace brevane::framework::win32 {

namespace {
constexpr wchar_t kSplitterClass[] = L"BrevaneSplitter";
}

bool Splitter::Create(HWND parent, Orientation orientation, DragHandler onDrag) {
  orientation_ = orientation;
  onDrag_ = std::move(onDrag);
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  if (!RegisterWindowClass(instance, kSplitterClass, nullptr, GetSysColorBrush(COLOR_BTNFACE), 0)) {
    return false;
  }
  return CreateFor(instance, kSplitterClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0,
                   0, 0, parent, nullptr) != nullptr;
}

LRESULT Splitter::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      OnButtonDown(lParam);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(lParam);
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp();
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    case WM_SETCURSOR:
      return OnSetCursor();
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

void Splitter::OnButtonDown(LPARAM lParam) {
  dragging_ = true;
  grabOffset_ =
      orientation_ == Orientation::Horizontal ? GET_Y_LPARAM(lParam) : GET_X_LPARAM(lParam);
  SetCapture(Handle());
}

void Splitter::OnMouseMove(LPARAM lParam) {
  if (!dragging_ || !onDrag_) return;
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  MapWindowPoints(Handle(), GetParent(Handle()), &point, 1);
  const int position = orientation_ == Orientation::Horizontal ? point.y : point.x;
  onDrag_(position - grabOffset_);
}

void Splitter::OnButtonUp() {
  dragging_ = false;
  if (GetCapture() == Handle()) ReleaseCapture();
}

LRESULT Splitter::OnSetCursor() {
  SetCursor(
      LoadCursorW(nullptr, orientation_ == Orientation::Horizontal ? IDC_SIZENS : IDC_SIZEWE));
  return TRUE;
}

}  // namespace brevane::framework::win32
