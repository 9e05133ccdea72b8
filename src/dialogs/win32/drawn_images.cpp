#include "dialogs/win32/drawn_images.h"

#include <algorithm>
#include <functional>
#include <optional>

#include "framework/win32/drawn_bitmap.h"

namespace brevane::dialogs::win32 {

namespace {

using Painter = std::function<void(HDC dc, int side, bool grey)>;

brevane::framework::win32::UniqueBitmap PaintImage(int side, bool grey, const Painter& painter,
                                                   std::optional<COLORREF> opaque = std::nullopt) {
  return brevane::framework::win32::DrawBitmap(
      side, [&](HDC dc) { painter(dc, side, grey); }, opaque);
}

brevane::framework::win32::UniqueImageList ButtonImages(int side, const Painter& painter) {
  brevane::framework::win32::UniqueImageList list(ImageList_Create(side, side, ILC_COLOR32, 6, 0));
  if (!list.Get()) return list;
  // PBS_NORMAL, PBS_HOT, PBS_PRESSED, PBS_DISABLED, PBS_DEFAULTED, PBS_STYLUSHOT
  for (int state = 0; state < 6; ++state) {
    brevane::framework::win32::UniqueBitmap image = PaintImage(side, state == 3, painter);
    if (image.Get()) ImageList_Add(list.Get(), image.Get(), nullptr);
  }
  return list;
}

void FillRectColor(HDC dc, const RECT& rect, COLORREF color) {
  brevane::framework::win32::UniqueBrush brush(CreateSolidBrush(color));
  FillRect(dc, &rect, brush.Get());
}

void PaintComputer(HDC dc, int side, bool grey) {
  const auto at = [side](int sixteenths) { return MulDiv(sixteenths, side, 16); };
  const COLORREF frame = grey ? RGB(128, 128, 128) : RGB(40, 40, 40);
  const COLORREF screen = grey ? RGB(192, 192, 192) : RGB(60, 140, 220);
  const COLORREF cable = grey ? RGB(160, 160, 160) : RGB(30, 160, 60);
  FillRectColor(dc, RECT{at(1), at(1), at(14), at(11)}, frame);
  FillRectColor(dc, RECT{at(2), at(2), at(13), at(10)}, screen);
  FillRectColor(dc, RECT{at(6), at(11), at(9), at(13)}, frame);
  FillRectColor(dc, RECT{at(3), at(13), at(12), at(14)}, frame);
  FillRectColor(dc, RECT{at(12), at(14), at(16), at(15)}, cable);
  FillRectColor(dc, RECT{at(14), at(11), at(15), at(14)}, cable);
}

void PaintCheckMark(HDC dc, int side, bool grey) {
  const auto at = [side](int sixteenths) { return MulDiv(sixteenths, side, 16); };
  brevane::framework::win32::UniquePen pen(
      CreatePen(PS_SOLID, std::max(2, side / 7), grey ? RGB(128, 128, 128) : RGB(0, 140, 0)));
  brevane::framework::win32::SelectObjectScope selected(dc, pen.Get());
  const POINT mark[] = {{at(2), at(8)}, {at(6), at(12)}, {at(14), at(3)}};
  Polyline(dc, mark, 3);
}

}  // namespace

brevane::framework::win32::UniqueImageList CreateBrowseButtonImages(int side) {
  return ButtonImages(side, PaintComputer);
}

brevane::framework::win32::UniqueBitmap CreateBrowseButtonBitmap(int side, COLORREF background) {
  return PaintImage(side, false, PaintComputer, background);
}

brevane::framework::win32::UniqueImageList CreateCheckMarkImages(int side) {
  return ButtonImages(side, PaintCheckMark);
}

void DrawLogo(HDC dc, const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  // A night-blue gradient, top to bottom.
  for (int y = 0; y < height; ++y) {
    const int shade = MulDiv(y, 80, height);
    FillRectColor(dc, RECT{rect.left, rect.top + y, rect.right, rect.top + y + 1},
                  RGB(20 + shade / 2, 40 + shade, 90 + shade));
  }
  const auto x = [&](int design) { return rect.left + MulDiv(design, width, 195); };
  const auto y = [&](int design) { return rect.top + MulDiv(design, height, 90); };
  // A stylised bird in flight over a stack of three servers.
  brevane::framework::win32::UniqueBrush wing(CreateSolidBrush(RGB(250, 200, 60)));
  brevane::framework::win32::UniquePen outline(CreatePen(PS_SOLID, 1, RGB(250, 200, 60)));
  {
    brevane::framework::win32::SelectObjectScope brush(dc, wing.Get());
    brevane::framework::win32::SelectObjectScope pen(dc, outline.Get());
    const POINT bird[] = {{x(14), y(30)}, {x(38), y(18)}, {x(50), y(30)},
                          {x(62), y(14)}, {x(88), y(26)}, {x(52), y(40)}};
    Polygon(dc, bird, 6);
  }
  for (int i = 0; i < 3; ++i) {
    const RECT box{x(22), y(48 + i * 13), x(80), y(58 + i * 13)};
    FillRectColor(dc, box, RGB(200, 210, 230));
    FillRectColor(dc,
                  RECT{x(26), box.top + (box.bottom - box.top) / 2 - 1, x(30),
                       box.top + (box.bottom - box.top) / 2 + 2},
                  RGB(40, 200, 80));
  }
  // The name, drawn large and white.
  LOGFONTW face{};
  face.lfHeight = -MulDiv(22, height, 90);
  face.lfWeight = FW_BOLD;
  face.lfItalic = TRUE;
  face.lfQuality = ANTIALIASED_QUALITY;
  lstrcpynW(face.lfFaceName, L"Times New Roman", LF_FACESIZE);
  brevane::framework::win32::UniqueFont font(CreateFontIndirectW(&face));
  brevane::framework::win32::SelectObjectScope selected(dc, font.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  RECT text{x(84), y(24), rect.right - x(4) + rect.left, y(70)};
  DrawTextW(dc, L"Brevane", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace brevane::dialogs::win32
