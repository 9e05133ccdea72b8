// The window's image list: the ten 16 x 16 images of the menus and the sort arrows, drawn by our
// own code so that no picture file needs to ship with the program.
#include <windows.h>
#include <commctrl.h>

#include <array>

#include "app/win32/main_menu.h"
#include "framework/win32/drawn_bitmap.h"

namespace brevane::app::win32 {

namespace {

constexpr int kImageSize = 16;

// GDI primitives on a 16 x 16 picture.
class IconCanvas {
 public:
  explicit IconCanvas(HDC dc) : dc_(dc) {}

  void Fill(RECT area, COLORREF color) {
    framework::win32::UniqueBrush brush(CreateSolidBrush(color));
    FillRect(dc_, &area, brush.Get());
  }
  void Polygon(std::initializer_list<POINT> points, COLORREF fill, COLORREF outline) {
    framework::win32::UniqueBrush brush(CreateSolidBrush(fill));
    framework::win32::UniquePen pen(CreatePen(PS_SOLID, 1, outline));
    framework::win32::SelectObjectScope b(dc_, brush.Get());
    framework::win32::SelectObjectScope p(dc_, pen.Get());
    ::Polygon(dc_, points.begin(), static_cast<int>(points.size()));
  }
  void Ellipse(RECT area, COLORREF fill, COLORREF outline, int penWidth = 1) {
    framework::win32::UniqueBrush brush(CreateSolidBrush(fill));
    framework::win32::UniquePen pen(CreatePen(PS_SOLID, penWidth, outline));
    framework::win32::SelectObjectScope b(dc_, brush.Get());
    framework::win32::SelectObjectScope p(dc_, pen.Get());
    ::Ellipse(dc_, area.left, area.top, area.right, area.bottom);
  }
  void Line(POINT from, POINT to, COLORREF color, int penWidth = 1) {
    framework::win32::UniquePen pen(CreatePen(PS_SOLID, penWidth, color));
    framework::win32::SelectObjectScope p(dc_, pen.Get());
    MoveToEx(dc_, from.x, from.y, nullptr);
    LineTo(dc_, to.x, to.y);
  }
  void Arc(RECT area, POINT start, POINT end, COLORREF color, int penWidth) {
    framework::win32::UniquePen pen(CreatePen(PS_SOLID, penWidth, color));
    framework::win32::SelectObjectScope p(dc_, pen.Get());
    ::Arc(dc_, area.left, area.top, area.right, area.bottom, start.x, start.y, end.x, end.y);
  }
  void Frame(RECT area, COLORREF fill, COLORREF outline) {
    Fill(area, outline);
    Fill({area.left + 1, area.top + 1, area.right - 1, area.bottom - 1}, fill);
  }

 private:
  HDC dc_;
};

constexpr COLORREF kDark = RGB(40, 40, 40);
constexpr COLORREF kBlue = RGB(30, 90, 190);
constexpr COLORREF kGreen = RGB(30, 150, 50);
constexpr COLORREF kRed = RGB(200, 40, 30);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGlass = RGB(190, 225, 250);

void DrawConnect(IconCanvas& c) {  // a monitor and a network cable
  c.Frame({1, 1, 15, 11}, RGB(120, 180, 240), kDark);
  c.Fill({6, 11, 10, 13}, kDark);
  c.Fill({3, 13, 13, 15}, kDark);
  c.Line({12, 4}, {15, 4}, kGreen, 2);
}

void DrawRefresh(IconCanvas& c) {  // a circular arrow
  c.Arc({2, 2, 14, 14}, {14, 8}, {8, 2}, kGreen, 2);
  c.Polygon({{9, 0}, {13, 3}, {9, 6}}, kGreen, kGreen);
}

void DrawExit(IconCanvas& c) {  // a door and an arrow leaving it
  c.Frame({2, 1, 10, 15}, RGB(170, 110, 60), kDark);
  c.Fill({7, 8, 8, 9}, kDark);
  c.Line({8, 8}, {14, 8}, kRed, 2);
  c.Polygon({{12, 5}, {15, 8}, {12, 11}}, kRed, kRed);
}

void DrawMagnifier(IconCanvas& c) {
  c.Ellipse({1, 1, 11, 11}, kGlass, kDark, 2);
  c.Line({10, 10}, {14, 14}, kDark, 3);
}

void DrawFind(IconCanvas& c) {
  DrawMagnifier(c);
}

void DrawFindAgain(IconCanvas& c) {
  DrawMagnifier(c);
  c.Polygon({{11, 1}, {15, 4}, {11, 7}}, kGreen, kGreen);
}

void DrawHelp(IconCanvas& c) {  // a blue disc with a question mark
  c.Ellipse({0, 0, 16, 16}, kBlue, kBlue);
  c.Arc({5, 3, 11, 9}, {5, 6}, {8, 9}, kWhite, 2);
  c.Fill({7, 8, 9, 11}, kWhite);
  c.Fill({7, 12, 9, 14}, kWhite);
}

void DrawHomePage(IconCanvas& c) {  // a house
  c.Polygon({{1, 8}, {8, 1}, {15, 8}}, kRed, kDark);
  c.Frame({3, 8, 13, 15}, RGB(240, 220, 170), kDark);
  c.Fill({7, 10, 10, 15}, kBlue);
}

void DrawSupport(IconCanvas& c) {  // an envelope
  c.Frame({1, 3, 15, 13}, kWhite, kDark);
  c.Line({1, 3}, {8, 9}, kDark);
  c.Line({14, 3}, {7, 9}, kDark);
}

void DrawArrowUp(IconCanvas& c) {
  c.Polygon({{4, 10}, {8, 5}, {12, 10}}, RGB(90, 90, 90), RGB(90, 90, 90));
}

void DrawArrowDown(IconCanvas& c) {
  c.Polygon({{4, 6}, {8, 11}, {12, 6}}, RGB(90, 90, 90), RGB(90, 90, 90));
}

using Painter = void (*)(IconCanvas&);
constexpr std::array<Painter, 10> kPainters = {
    DrawConnect, DrawRefresh,  DrawExit,    DrawFind,    DrawFindAgain,
    DrawHelp,    DrawHomePage, DrawSupport, DrawArrowUp, DrawArrowDown};

}  // namespace

framework::win32::UniqueImageList CreateMainImages(
    std::vector<framework::win32::UniqueBitmap>& bitmaps) {
  framework::win32::UniqueImageList list(
      ImageList_Create(kImageSize, kImageSize, ILC_COLOR32, static_cast<int>(kPainters.size()), 0));
  bitmaps.clear();
  for (Painter paint : kPainters) {
    framework::win32::UniqueBitmap bitmap =
        framework::win32::DrawBitmap(kImageSize, [paint](HDC dc) {
          IconCanvas canvas(dc);
          paint(canvas);
        });
    if (list) ImageList_Add(list.Get(), bitmap.Get(), nullptr);
    // The menus show the same pictures; they keep their own copies of the bitmaps.
    bitmaps.push_back(std::move(bitmap));
  }
  return list;
}

}  // namespace brevane::app::win32
