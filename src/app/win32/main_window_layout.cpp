// Creation of the main window's controls and their placement: the window's design is laid out
// in pixels at 96 DPI and scaled to the DPI of the monitor the window is on.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>

#include "app/win32/command_ids.h"
#include "app/win32/main_window.h"
#include "framework/win32/controls.h"
#include "framework/win32/dpi.h"
#include "framework/win32/encoding.h"

namespace brevane::app::win32 {

namespace {

constexpr int kStripHeight = 26;  // Panel4 and Panel5
constexpr int kSplitterSize = 8;
constexpr int kButtonWidth = 57;
constexpr int kLabelWidth = 34;
constexpr int kGap = 4;
constexpr int kListItemHeight = 13;
constexpr int kPropGridColumnWidth = 200;
constexpr int kPropGridTypeColumnWidth = 110;
constexpr int kMinPaneSize = 40;
constexpr int kComboDropHeight = 220;
constexpr std::array<int, 3> kStatusPanelWidths = {120, 90, 200};
constexpr char kInitialQuery[] = "select Caption, HandleCount, ThreadCount from Win32_Process";

void AddTab(HWND tabControl, int index, const std::string& caption) {
  std::wstring text = framework::win32::Utf8ToWide(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  SendMessageW(tabControl, TCM_INSERTITEMW, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&item));
}

RECT Bounds(int left, int top, int right, int bottom) {
  return RECT{left, top, std::max(left, right), std::max(top, bottom)};
}

// The display area of a tab control, in its parent's client coordinates.
RECT TabPageArea(HWND tabControl, const RECT& bounds) {
  RECT page = bounds;
  TabCtrl_AdjustRect(tabControl, FALSE, &page);
  return Bounds(page.left, page.top, page.right, page.bottom);
}

void AddReportColumn(HWND listView, int index, const wchar_t* caption, int width) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = LVCFMT_LEFT;
  column.cx = width;
  column.pszText = const_cast<wchar_t*>(caption);
  SendMessageW(listView, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&column));
}

}  // namespace

void TMainWin::CreateControls() {
  HWND self = Handle();
  font_ = framework::win32::CreateGuiFont(framework::win32::DpiScale(dpi_));
  HFONT font = font_.Get();
  constexpr DWORD kVisible = WS_VISIBLE | WS_CLIPSIBLINGS;

  PageControl2 = framework::win32::CreateChild(self, WC_TABCONTROLW, "", kVisible | WS_TABSTOP, 0,
                                               kIdPageControl2, font);
  AddTab(PageControl2, 0, "WMI 类");
  AddTab(PageControl2, 1, "查询");

  // Classes tab
  CreateClassFilterBox(font);
  ClassListBox = framework::win32::CreateChild(
      self, WC_LISTBOXW, "",
      kVisible | WS_TABSTOP | WS_HSCROLL | LBS_NOTIFY | LBS_MULTICOLUMN | LBS_NOINTEGRALHEIGHT,
      WS_EX_CLIENTEDGE, kIdClassListBox, font);
  splitter1_.Create(self, framework::win32::Splitter::Orientation::Horizontal,
                    [this](int position) { OnSplitter1Drag(position); });
  PageControl3 =
      framework::win32::CreateChild(self, WC_TABCONTROLW, "", kVisible, 0, kIdPageControl3, font);
  AddTab(PageControl3, 0, "结果预览");
  InstanceListBox = framework::win32::CreateChild(
      self, WC_LISTBOXW, "", kVisible | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
      WS_EX_CLIENTEDGE, kIdInstanceListBox, font);
  splitter2_.Create(self, framework::win32::Splitter::Orientation::Vertical,
                    [this](int position) { OnSplitter2Drag(position); });
  PageControl1 =
      framework::win32::CreateChild(self, WC_TABCONTROLW, "", kVisible, 0, kIdPageControl1, font);
  AddTab(PageControl1, 0, "属性");
  PropGrid = framework::win32::CreateChild(
      self, WC_LISTVIEWW, "",
      kVisible | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
      WS_EX_CLIENTEDGE, kIdPropGrid, font);
  Label4 = framework::win32::CreateChild(self, WC_STATICW, "查询", kVisible | SS_CENTERIMAGE, 0,
                                         kIdLabel4, font);
  QueryCombo = framework::win32::CreateChild(
      self, WC_COMBOBOXW, "", kVisible | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
      0, kIdQueryCombo, font);
  Query1Btn = framework::win32::CreateChild(
      self, WC_BUTTONW, "执行", kVisible | WS_TABSTOP | BS_PUSHBUTTON, 0, kIdQuery1Btn, font);

  // Query tab
  Label5 = framework::win32::CreateChild(self, WC_STATICW, "查询", WS_CLIPSIBLINGS | SS_CENTERIMAGE,
                                         0, kIdLabel5, font);
  Query2Combo = framework::win32::CreateChild(
      self, WC_COMBOBOXW, "",
      WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, kIdQuery2Combo,
      font);
  SetQuery2Text(kInitialQuery);  // a combo box ignores the window name it is created with
  Query2Btn = framework::win32::CreateChild(self, WC_BUTTONW, "执行",
                                            WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON, 0,
                                            kIdQuery2Btn, font);
  ListView1 =
      framework::win32::CreateChild(self, WC_LISTVIEWW, "",
                                    WS_CLIPSIBLINGS | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                        LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                                    WS_EX_CLIENTEDGE, kIdListView1, font);
  listView1_.Attach(ListView1, &queryRows_);

  StatusBar1 = framework::win32::CreateChild(self, STATUSCLASSNAMEW, "",
                                             WS_VISIBLE | SBARS_SIZEGRIP, 0, kIdStatusBar1, font);

  // The tab controls only draw the tabs: the pages' controls are their siblings and lie above.
  for (HWND tab : {PageControl1, PageControl3, PageControl2}) {
    SetWindowPos(tab, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  SendMessageW(
      PropGrid, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
      LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_DOUBLEBUFFER);
  SendMessageW(ListView1, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_HEADERDRAGDROP);
  const framework::win32::DpiScale scale(dpi_);
  AddReportColumn(PropGrid, 0, L"Property", scale(kPropGridColumnWidth));
  AddReportColumn(PropGrid, 1, L"Value", scale(kPropGridColumnWidth));
  AddReportColumn(PropGrid, 2, L"Type", scale(kPropGridTypeColumnWidth));
  SendMessageW(ListView1, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(ImageList1));
  // The sort arrows are header images; not every common controls version hands the list
  // view's small images to its header by itself.
  HWND header1 = reinterpret_cast<HWND>(SendMessageW(ListView1, LVM_GETHEADER, 0, 0));
  if (header1 != nullptr)
    SendMessageW(header1, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(ImageList1));
  SubclassQuery2Combo();
  SetupListControls();
}

void TMainWin::ApplyFonts() {
  framework::win32::UniqueFont font =
      framework::win32::CreateGuiFont(framework::win32::DpiScale(dpi_));
  for (HWND child : {PageControl2, ClassListBox, PageControl3, InstanceListBox, PageControl1,
                     PropGrid, Label4, QueryCombo, Query1Btn, Label5, Query2Combo, Query2Btn,
                     ListView1, StatusBar1, ClassFilterLabel, ClassFilterCombo}) {
    if (child != nullptr)
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  }
  font_ = std::move(font);  // the old font is freed only once no control uses it
}

void TMainWin::SetupListControls() {
  const framework::win32::DpiScale scale(dpi_);
  const int textHeight = framework::win32::TextHeight(ClassListBox, font_.Get(), L"%CWIJpq");
  const int itemHeight = std::max(scale(kListItemHeight), textHeight + 1);
  SendMessageW(ClassListBox, LB_SETITEMHEIGHT, 0, itemHeight);
  SendMessageW(InstanceListBox, LB_SETITEMHEIGHT, 0, itemHeight);
  std::array<int, kStatusPanelWidths.size()> widths{};
  for (size_t i = 0; i < widths.size(); ++i) widths[i] = scale(kStatusPanelWidths[i]);
  framework::win32::SetStatusPanels(StatusBar1, widths.data(), static_cast<int>(widths.size()));
  if (Activated) SetPropGridRowHeight();
}

void TMainWin::SetPropGridRowHeight() {
  // A report list view takes its row height from its small image list: an empty list of the
  // wanted height sets it.
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(PropGrid, WM_GETFONT, 0, 0));
  const int height =
      framework::win32::TextHeight(PropGrid, font != nullptr ? font : font_.Get(), L"%CWIJpq") + 4;
  framework::win32::UniqueImageList rowHeight(
      ImageList_Create(1, std::max(height, 1), ILC_COLOR32, 0, 1));
  SendMessageW(PropGrid, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(rowHeight.Get()));
  propGridRowHeight_ = std::move(rowHeight);
}

void TMainWin::LayoutControls() {
  if (PageControl2 == nullptr || StatusBar1 == nullptr) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  SendMessageW(StatusBar1, WM_SIZE, 0, 0);
  RECT status{};
  GetWindowRect(StatusBar1, &status);
  const int statusHeight = status.bottom - status.top;

  const RECT tabBounds = Bounds(0, 0, client.right, client.bottom - statusHeight);
  framework::win32::MoveChild(PageControl2, tabBounds);
  const RECT page = TabPageArea(PageControl2, tabBounds);
  LayoutClassTab(page);
  LayoutQueryTab(page);
  ShowTabPages();
}

void TMainWin::LayoutClassTab(const RECT& page) {
  const framework::win32::DpiScale scale(dpi_);
  const int pageHeight = page.bottom - page.top;
  const int splitter = scale(kSplitterSize);
  const int panel2Height =
      std::clamp(scale(panel2Height_), std::min(scale(kMinPaneSize), pageHeight),
                 std::max(pageHeight - splitter - scale(kMinPaneSize + kStripHeight), 0));
  const int panel2Top = page.bottom - panel2Height;
  // The filter box in a strip above the class list.
  const int filterBottom =
      std::min(static_cast<int>(page.top) + scale(kStripHeight), panel2Top - splitter);
  framework::win32::MoveChild(ClassFilterLabel,
                              Bounds(page.left + scale(kGap), page.top,
                                     page.left + scale(kGap + kLabelWidth), filterBottom));
  framework::win32::MoveChild(
      ClassFilterCombo,
      Bounds(page.left + scale(kGap + kLabelWidth), page.top + scale(2), page.right - scale(2),
             page.top + scale(2) + scale(kComboDropHeight)));
  framework::win32::MoveChild(ClassListBox,
                              Bounds(page.left, filterBottom, page.right, panel2Top - splitter));
  framework::win32::MoveChild(splitter1_.Handle(),
                              Bounds(page.left, panel2Top - splitter, page.right, panel2Top));
  RECT listClient{};
  GetClientRect(ClassListBox, &listClient);
  SendMessageW(ClassListBox, LB_SETCOLUMNWIDTH, std::max<LONG>(listClient.right / 3, 1), 0);

  // Panel4 along Panel2's bottom edge: label, combo box stretching, button at the right edge.
  const int stripHeight = scale(kStripHeight);
  const int stripTop = page.bottom - stripHeight;
  const int buttonHeight = stripHeight - scale(2);
  framework::win32::MoveChild(Label4, Bounds(page.left + scale(kGap), stripTop,
                                             page.left + scale(kGap + kLabelWidth), page.bottom));
  const int buttonLeft = page.right - scale(kButtonWidth) - scale(2);
  framework::win32::MoveChild(
      Query1Btn, Bounds(buttonLeft, stripTop + scale(1), buttonLeft + scale(kButtonWidth),
                        stripTop + scale(1) + buttonHeight));
  framework::win32::MoveChild(
      QueryCombo, Bounds(page.left + scale(kGap + kLabelWidth), stripTop + scale(2),
                         buttonLeft - scale(kGap), stripTop + scale(2) + scale(kComboDropHeight)));

  // Above it: PageControl3 on the left, Splitter2, PageControl1 filling the rest.
  const int panelWidth = page.right - page.left;
  const int leftWidth =
      std::clamp(scale(pageControl3Width_), std::min(scale(kMinPaneSize), panelWidth),
                 std::max(panelWidth - splitter - scale(kMinPaneSize), 0));
  const RECT left = Bounds(page.left, panel2Top, page.left + leftWidth, stripTop);
  framework::win32::MoveChild(PageControl3, left);
  framework::win32::MoveChild(InstanceListBox, TabPageArea(PageControl3, left));
  framework::win32::MoveChild(splitter2_.Handle(),
                              Bounds(left.right, panel2Top, left.right + splitter, stripTop));
  const RECT right = Bounds(left.right + splitter, panel2Top, page.right, stripTop);
  framework::win32::MoveChild(PageControl1, right);
  framework::win32::MoveChild(PropGrid, TabPageArea(PageControl1, right));
}

void TMainWin::LayoutQueryTab(const RECT& page) {
  const framework::win32::DpiScale scale(dpi_);
  const int stripHeight = scale(kStripHeight);
  const int stripBottom = std::min(page.top + stripHeight, page.bottom);
  const int buttonLeft = page.right - scale(kButtonWidth) - scale(2);
  framework::win32::MoveChild(Label5, Bounds(page.left + scale(kGap), page.top,
                                             page.left + scale(kGap + kLabelWidth), stripBottom));
  framework::win32::MoveChild(
      Query2Btn, Bounds(buttonLeft, page.top + scale(1), buttonLeft + scale(kButtonWidth),
                        stripBottom - scale(1)));
  framework::win32::MoveChild(
      Query2Combo, Bounds(page.left + scale(kGap + kLabelWidth), page.top + scale(2),
                          buttonLeft - scale(kGap), page.top + scale(2) + scale(kComboDropHeight)));
  framework::win32::MoveChild(ListView1, Bounds(page.left, stripBottom, page.right, page.bottom));
}

void TMainWin::ShowTabPages() {
  const bool classes = ActiveTab() == 0;
  const int showClasses = classes ? SW_SHOW : SW_HIDE;
  const int showQuery = classes ? SW_HIDE : SW_SHOW;
  for (HWND child : {ClassFilterLabel, ClassFilterCombo, ClassListBox, splitter1_.Handle(),
                     PageControl3, InstanceListBox, splitter2_.Handle(), PageControl1, PropGrid,
                     Label4, QueryCombo, Query1Btn}) {
    ShowWindow(child, showClasses);
  }
  for (HWND child : {Label5, Query2Combo, Query2Btn, ListView1}) ShowWindow(child, showQuery);
}

void TMainWin::OnSplitter1Drag(int position) {
  RECT tabBounds{};
  GetWindowRect(PageControl2, &tabBounds);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&tabBounds), 2);
  const RECT page = TabPageArea(PageControl2, tabBounds);
  const framework::win32::DpiScale scale(dpi_);
  const int height = page.bottom - (position + scale(kSplitterSize));
  panel2Height_ = std::max(scale.ToDesign(height), kMinPaneSize);
  LayoutControls();
}

void TMainWin::OnSplitter2Drag(int position) {
  RECT tabBounds{};
  GetWindowRect(PageControl2, &tabBounds);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&tabBounds), 2);
  const RECT page = TabPageArea(PageControl2, tabBounds);
  const framework::win32::DpiScale scale(dpi_);
  pageControl3Width_ = std::max(scale.ToDesign(position - page.left), kMinPaneSize);
  LayoutControls();
  FormResize();
}

}  // namespace brevane::app::win32
