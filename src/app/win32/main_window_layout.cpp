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

constexpr int kStripHeight = 26;  // the query strips of both tabs
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

void MainWindow::CreateControls() {
  HWND self = Handle();
  font_ = framework::win32::CreateGuiFont(framework::win32::DpiScale(dpi_));
  HFONT font = font_.Get();
  constexpr DWORD kVisible = WS_VISIBLE | WS_CLIPSIBLINGS;

  tabs_ = framework::win32::CreateChild(self, WC_TABCONTROLW, "", kVisible | WS_TABSTOP, 0, kIdTabs,
                                        font);
  AddTab(tabs_, 0, "WMI 类");
  AddTab(tabs_, 1, "查询");

  // Classes tab
  CreateClassFilterBox(font);
  classList_ = framework::win32::CreateChild(
      self, WC_LISTBOXW, "",
      kVisible | WS_TABSTOP | WS_HSCROLL | LBS_NOTIFY | LBS_MULTICOLUMN | LBS_NOINTEGRALHEIGHT,
      WS_EX_CLIENTEDGE, kIdClassList, font);
  classListSplitter_.Create(self, framework::win32::Splitter::Orientation::Horizontal,
                            [this](int position) { OnClassListSplitterDrag(position); });
  instancePane_ =
      framework::win32::CreateChild(self, WC_TABCONTROLW, "", kVisible, 0, kIdInstancePane, font);
  AddTab(instancePane_, 0, "结果预览");
  instanceList_ = framework::win32::CreateChild(
      self, WC_LISTBOXW, "", kVisible | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
      WS_EX_CLIENTEDGE, kIdInstanceList, font);
  paneSplitter_.Create(self, framework::win32::Splitter::Orientation::Vertical,
                       [this](int position) { OnPaneSplitterDrag(position); });
  propertyPane_ =
      framework::win32::CreateChild(self, WC_TABCONTROLW, "", kVisible, 0, kIdPropertyPane, font);
  AddTab(propertyPane_, 0, "属性");
  propertyGrid_ = framework::win32::CreateChild(
      self, WC_LISTVIEWW, "",
      kVisible | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
      WS_EX_CLIENTEDGE, kIdPropertyGrid, font);
  classTabQueryLabel_ = framework::win32::CreateChild(
      self, WC_STATICW, "查询", kVisible | SS_CENTERIMAGE, 0, kIdClassTabQueryLabel, font);
  classTabQueryCombo_ = framework::win32::CreateChild(
      self, WC_COMBOBOXW, "", kVisible | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
      0, kIdClassTabQueryCombo, font);
  classTabRunButton_ =
      framework::win32::CreateChild(self, WC_BUTTONW, "执行", kVisible | WS_TABSTOP | BS_PUSHBUTTON,
                                    0, kIdClassTabRunButton, font);

  // Query tab
  queryLabel_ = framework::win32::CreateChild(
      self, WC_STATICW, "查询", WS_CLIPSIBLINGS | SS_CENTERIMAGE, 0, kIdQueryLabel, font);
  queryCombo_ = framework::win32::CreateChild(
      self, WC_COMBOBOXW, "",
      WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, kIdQueryCombo,
      font);
  SetQueryText(kInitialQuery);  // a combo box ignores the window name it is created with
  runQueryButton_ = framework::win32::CreateChild(self, WC_BUTTONW, "执行",
                                                  WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON, 0,
                                                  kIdRunQueryButton, font);
  resultTable_ =
      framework::win32::CreateChild(self, WC_LISTVIEWW, "",
                                    WS_CLIPSIBLINGS | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                        LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                                    WS_EX_CLIENTEDGE, kIdResultTable, font);
  resultView_.Attach(resultTable_, &queryRows_);

  statusBar_ = framework::win32::CreateChild(self, STATUSCLASSNAMEW, "",
                                             WS_VISIBLE | SBARS_SIZEGRIP, 0, kIdStatusBar, font);

  // The tab controls only draw the tabs: the pages' controls are their siblings and lie above.
  for (HWND tab : {propertyPane_, instancePane_, tabs_}) {
    SetWindowPos(tab, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  SendMessageW(
      propertyGrid_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
      LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_DOUBLEBUFFER);
  SendMessageW(resultTable_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_HEADERDRAGDROP);
  const framework::win32::DpiScale scale(dpi_);
  AddReportColumn(propertyGrid_, 0, L"Property", scale(kPropGridColumnWidth));
  AddReportColumn(propertyGrid_, 1, L"Value", scale(kPropGridColumnWidth));
  AddReportColumn(propertyGrid_, 2, L"Type", scale(kPropGridTypeColumnWidth));
  SendMessageW(resultTable_, LVM_SETIMAGELIST, LVSIL_SMALL,
               reinterpret_cast<LPARAM>(imageList_.Get()));
  // The sort arrows are header images; not every common controls version hands the list
  // view's small images to its header by itself.
  HWND header = reinterpret_cast<HWND>(SendMessageW(resultTable_, LVM_GETHEADER, 0, 0));
  if (header != nullptr)
    SendMessageW(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(imageList_.Get()));
  SubclassQueryCombo();
  SetupListControls();
}

void MainWindow::ApplyFonts() {
  framework::win32::UniqueFont font =
      framework::win32::CreateGuiFont(framework::win32::DpiScale(dpi_));
  for (HWND child :
       {tabs_, classList_, instancePane_, instanceList_, propertyPane_, propertyGrid_,
        classTabQueryLabel_, classTabQueryCombo_, classTabRunButton_, queryLabel_, queryCombo_,
        runQueryButton_, resultTable_, statusBar_, classFilterLabel_, classFilterCombo_}) {
    if (child != nullptr)
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  }
  font_ = std::move(font);  // the old font is freed only once no control uses it
}

void MainWindow::SetupListControls() {
  const framework::win32::DpiScale scale(dpi_);
  const int textHeight = framework::win32::TextHeight(classList_, font_.Get(), L"%CWIJpq");
  const int itemHeight = std::max(scale(kListItemHeight), textHeight + 1);
  SendMessageW(classList_, LB_SETITEMHEIGHT, 0, itemHeight);
  SendMessageW(instanceList_, LB_SETITEMHEIGHT, 0, itemHeight);
  std::array<int, kStatusPanelWidths.size()> widths{};
  for (size_t i = 0; i < widths.size(); ++i) widths[i] = scale(kStatusPanelWidths[i]);
  framework::win32::SetStatusPanels(statusBar_, widths.data(), static_cast<int>(widths.size()));
  if (activated_) SetPropertyRowHeight();
}

void MainWindow::SetPropertyRowHeight() {
  // A report list view takes its row height from its small image list: an empty list of the
  // wanted height sets it.
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(propertyGrid_, WM_GETFONT, 0, 0));
  const int height = framework::win32::TextHeight(
                         propertyGrid_, font != nullptr ? font : font_.Get(), L"%CWIJpq") +
                     4;
  framework::win32::UniqueImageList rowHeight(
      ImageList_Create(1, std::max(height, 1), ILC_COLOR32, 0, 1));
  SendMessageW(propertyGrid_, LVM_SETIMAGELIST, LVSIL_SMALL,
               reinterpret_cast<LPARAM>(rowHeight.Get()));
  propertyRowHeight_ = std::move(rowHeight);
}

void MainWindow::LayoutControls() {
  if (tabs_ == nullptr || statusBar_ == nullptr) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  SendMessageW(statusBar_, WM_SIZE, 0, 0);
  RECT status{};
  GetWindowRect(statusBar_, &status);
  const int statusHeight = status.bottom - status.top;

  const RECT tabBounds = Bounds(0, 0, client.right, client.bottom - statusHeight);
  framework::win32::MoveChild(tabs_, tabBounds);
  const RECT page = TabPageArea(tabs_, tabBounds);
  LayoutClassTab(page);
  LayoutQueryTab(page);
  ShowTabPages();
}

void MainWindow::LayoutClassTab(const RECT& page) {
  const framework::win32::DpiScale scale(dpi_);
  const int pageHeight = page.bottom - page.top;
  const int splitter = scale(kSplitterSize);
  const int panel2Height =
      std::clamp(scale(detailsHeight_), std::min(scale(kMinPaneSize), pageHeight),
                 std::max(pageHeight - splitter - scale(kMinPaneSize + kStripHeight), 0));
  const int panel2Top = page.bottom - panel2Height;
  // The filter box in a strip above the class list.
  const int filterBottom =
      std::min(static_cast<int>(page.top) + scale(kStripHeight), panel2Top - splitter);
  framework::win32::MoveChild(classFilterLabel_,
                              Bounds(page.left + scale(kGap), page.top,
                                     page.left + scale(kGap + kLabelWidth), filterBottom));
  framework::win32::MoveChild(
      classFilterCombo_,
      Bounds(page.left + scale(kGap + kLabelWidth), page.top + scale(2), page.right - scale(2),
             page.top + scale(2) + scale(kComboDropHeight)));
  framework::win32::MoveChild(classList_,
                              Bounds(page.left, filterBottom, page.right, panel2Top - splitter));
  framework::win32::MoveChild(classListSplitter_.Handle(),
                              Bounds(page.left, panel2Top - splitter, page.right, panel2Top));
  RECT listClient{};
  GetClientRect(classList_, &listClient);
  SendMessageW(classList_, LB_SETCOLUMNWIDTH, std::max<LONG>(listClient.right / 3, 1), 0);

  // The query strip along the bottom edge: label, combo box stretching, button at the right edge.
  const int stripHeight = scale(kStripHeight);
  const int stripTop = page.bottom - stripHeight;
  const int buttonHeight = stripHeight - scale(2);
  framework::win32::MoveChild(classTabQueryLabel_,
                              Bounds(page.left + scale(kGap), stripTop,
                                     page.left + scale(kGap + kLabelWidth), page.bottom));
  const int buttonLeft = page.right - scale(kButtonWidth) - scale(2);
  framework::win32::MoveChild(
      classTabRunButton_, Bounds(buttonLeft, stripTop + scale(1), buttonLeft + scale(kButtonWidth),
                                 stripTop + scale(1) + buttonHeight));
  framework::win32::MoveChild(
      classTabQueryCombo_,
      Bounds(page.left + scale(kGap + kLabelWidth), stripTop + scale(2), buttonLeft - scale(kGap),
             stripTop + scale(2) + scale(kComboDropHeight)));

  // Above it: the instance pane on the left, the pane splitter, the property pane filling the rest.
  const int panelWidth = page.right - page.left;
  const int leftWidth =
      std::clamp(scale(instancePaneWidth_), std::min(scale(kMinPaneSize), panelWidth),
                 std::max(panelWidth - splitter - scale(kMinPaneSize), 0));
  const RECT left = Bounds(page.left, panel2Top, page.left + leftWidth, stripTop);
  framework::win32::MoveChild(instancePane_, left);
  framework::win32::MoveChild(instanceList_, TabPageArea(instancePane_, left));
  framework::win32::MoveChild(paneSplitter_.Handle(),
                              Bounds(left.right, panel2Top, left.right + splitter, stripTop));
  const RECT right = Bounds(left.right + splitter, panel2Top, page.right, stripTop);
  framework::win32::MoveChild(propertyPane_, right);
  framework::win32::MoveChild(propertyGrid_, TabPageArea(propertyPane_, right));
}

void MainWindow::LayoutQueryTab(const RECT& page) {
  const framework::win32::DpiScale scale(dpi_);
  const int stripHeight = scale(kStripHeight);
  const int stripBottom = std::min(page.top + stripHeight, page.bottom);
  const int buttonLeft = page.right - scale(kButtonWidth) - scale(2);
  framework::win32::MoveChild(
      queryLabel_, Bounds(page.left + scale(kGap), page.top, page.left + scale(kGap + kLabelWidth),
                          stripBottom));
  framework::win32::MoveChild(
      runQueryButton_, Bounds(buttonLeft, page.top + scale(1), buttonLeft + scale(kButtonWidth),
                              stripBottom - scale(1)));
  framework::win32::MoveChild(
      queryCombo_, Bounds(page.left + scale(kGap + kLabelWidth), page.top + scale(2),
                          buttonLeft - scale(kGap), page.top + scale(2) + scale(kComboDropHeight)));
  framework::win32::MoveChild(resultTable_,
                              Bounds(page.left, stripBottom, page.right, page.bottom));
}

void MainWindow::ShowTabPages() {
  const bool classes = ActiveTab() == 0;
  const int showClasses = classes ? SW_SHOW : SW_HIDE;
  const int showQuery = classes ? SW_HIDE : SW_SHOW;
  for (HWND child : {classFilterLabel_, classFilterCombo_, classList_, classListSplitter_.Handle(),
                     instancePane_, instanceList_, paneSplitter_.Handle(), propertyPane_,
                     propertyGrid_, classTabQueryLabel_, classTabQueryCombo_, classTabRunButton_}) {
    ShowWindow(child, showClasses);
  }
  for (HWND child : {queryLabel_, queryCombo_, runQueryButton_, resultTable_})
    ShowWindow(child, showQuery);
}

void MainWindow::OnClassListSplitterDrag(int position) {
  RECT tabBounds{};
  GetWindowRect(tabs_, &tabBounds);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&tabBounds), 2);
  const RECT page = TabPageArea(tabs_, tabBounds);
  const framework::win32::DpiScale scale(dpi_);
  const int height = page.bottom - (position + scale(kSplitterSize));
  detailsHeight_ = std::max(scale.ToDesign(height), kMinPaneSize);
  LayoutControls();
}

void MainWindow::OnPaneSplitterDrag(int position) {
  RECT tabBounds{};
  GetWindowRect(tabs_, &tabBounds);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&tabBounds), 2);
  const RECT page = TabPageArea(tabs_, tabBounds);
  const framework::win32::DpiScale scale(dpi_);
  instancePaneWidth_ = std::max(scale.ToDesign(position - page.left), kMinPaneSize);
  LayoutControls();
  FitPropertyValueColumn();
}

}  // namespace brevane::app::win32
