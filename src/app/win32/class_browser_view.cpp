// The classes tab's controls, their placement at the window's DPI, its splitters, and the
// commands and menus it answers.
#include "app/win32/class_browser_view.h"

#include <commctrl.h>

#include <algorithm>

#include "app/win32/command_ids.h"
#include "app/win32/view_controls.h"
#include "framework/win32/controls.h"
#include "framework/win32/dpi.h"
#include "util/history.h"

namespace brevane::app::win32 {

namespace {

constexpr int kListItemHeight = 13;
constexpr int kPropGridColumnWidth = 200;
constexpr int kPropGridTypeColumnWidth = 110;
constexpr int kMinPaneSize = 40;

}  // namespace

ClassBrowserView::ClassBrowserView(ViewHost& host, wmi::WmiClient& client,
                                   wmi::RequestWorker& classListWorker,
                                   wmi::RequestWorker& propertyWorker, wmi::InstanceLoader& loader)
    : host_(host),
      client_(client),
      classListWorker_(classListWorker),
      propertyWorker_(propertyWorker),
      instanceLoader_(loader) {
  instanceLoader_.SetOnDone(
      [this](int count, const std::string& message) { InstancesDone(count, message); });
}

ClassBrowserView::~ClassBrowserView() = default;

void ClassBrowserView::Create(HFONT font, HIMAGELIST, UINT dpi) {
  font_ = font;
  dpi_ = dpi;
  HWND self = host_.Frame();
  constexpr DWORD kVisible = WS_VISIBLE | WS_CLIPSIBLINGS;

  classMenu_.Reset(CreatePopupMenu());
  AppendMenuItem(classMenu_.Get(), kCmdRefreshInstances, "刷新...");
  AppendMenuItem(classMenu_.Get(), 0, "-");
  AppendMenuItem(classMenu_.Get(), kCmdSelectFrom, "Select * from ...");
  AppendMenuItem(classMenu_.Get(), kCmdExecuteClassMethod, "执行方法...");
  CreateListMenus();

  CreateNamespaceTree(font);
  CreateClassFilterBox(font);
  classList_ = framework::win32::CreateChild(
      self, WC_LISTBOXW, "",
      kVisible | WS_TABSTOP | WS_HSCROLL | LBS_NOTIFY | LBS_MULTICOLUMN | LBS_NOINTEGRALHEIGHT,
      WS_EX_CLIENTEDGE, kIdClassList, font);
  classListControl_ = framework::win32::Win32ListBox(classList_);
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
  CreateExplorePages(font);
  propertyGrid_ = framework::win32::CreateChild(
      self, WC_LISTVIEWW, "",
      kVisible | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
      WS_EX_CLIENTEDGE, kIdPropertyGrid, font);
  queryLabel_ = framework::win32::CreateChild(self, WC_STATICW, "查询", kVisible | SS_CENTERIMAGE,
                                              0, kIdClassTabQueryLabel, font);
  queryCombo_ = framework::win32::CreateChild(
      self, WC_COMBOBOXW, "", kVisible | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
      0, kIdClassTabQueryCombo, font);
  runButton_ =
      framework::win32::CreateChild(self, WC_BUTTONW, "执行", kVisible | WS_TABSTOP | BS_PUSHBUTTON,
                                    0, kIdClassTabRunButton, font);

  // The pane tab controls only draw the tabs: the panes' controls are their siblings and lie
  // above.
  for (HWND tab : {propertyPane_, instancePane_}) {
    SetWindowPos(tab, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  SendMessageW(
      propertyGrid_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
      LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_DOUBLEBUFFER);
  const framework::win32::DpiScale scale(dpi_);
  AddReportColumn(propertyGrid_, 0, L"Property", scale(kPropGridColumnWidth));
  AddReportColumn(propertyGrid_, 1, L"Value", scale(kPropGridColumnWidth));
  AddReportColumn(propertyGrid_, 2, L"Type", scale(kPropGridTypeColumnWidth));
  SetupListControls();
}

void ClassBrowserView::SetupListControls() {
  const framework::win32::DpiScale scale(dpi_);
  const int textHeight = framework::win32::TextHeight(classList_, font_, L"%CWIJpq");
  const int itemHeight = std::max(scale(kListItemHeight), textHeight + 1);
  SendMessageW(classList_, LB_SETITEMHEIGHT, 0, itemHeight);
  SendMessageW(instanceList_, LB_SETITEMHEIGHT, 0, itemHeight);
  if (started_) SetPropertyRowHeight();
}

void ClassBrowserView::SetPropertyRowHeight() {
  // A report list view takes its row height from its small image list: an empty list of the
  // wanted height sets it.
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(propertyGrid_, WM_GETFONT, 0, 0));
  const int height =
      framework::win32::TextHeight(propertyGrid_, font != nullptr ? font : font_, L"%CWIJpq") + 4;
  framework::win32::UniqueImageList rowHeight(
      ImageList_Create(1, std::max(height, 1), ILC_COLOR32, 0, 1));
  SendMessageW(propertyGrid_, LVM_SETIMAGELIST, LVSIL_SMALL,
               reinterpret_cast<LPARAM>(rowHeight.Get()));
  propertyRowHeight_ = std::move(rowHeight);
}

void ClassBrowserView::Starting() {
  started_ = true;
  SetPropertyRowHeight();
}

void ClassBrowserView::DpiChanged(UINT dpi, UINT previous, HFONT font) {
  dpi_ = dpi;
  font_ = font;
  RescaleColumns(propertyGrid_, dpi, previous);
  SetControlsFont({classList_, instancePane_, instanceList_, propertyPane_, propertyGrid_,
                   queryLabel_, queryCombo_, runButton_, classFilterLabel_, classFilterCombo_},
                  font);
  if (namespaceTree_) SetControlsFont({namespaceTree_->Handle()}, font);
  SetupListControls();
}

void ClassBrowserView::Layout(const RECT& page) {
  const bool resized = page.right - page.left != page_.right - page_.left ||
                       page.bottom - page.top != page_.bottom - page_.top;
  page_ = page;
  const framework::win32::DpiScale scale(dpi_);
  const int pageHeight = page.bottom - page.top;
  const int splitter = scale(kSplitterSize);
  const int panel2Height =
      std::clamp(scale(detailsHeight_), std::min(scale(kMinPaneSize), pageHeight),
                 std::max(pageHeight - splitter - scale(kMinPaneSize + kStripHeight), 0));
  const int panel2Top = page.bottom - panel2Height;
  // The namespace tree at the left, then the filter box in a strip above the class list.
  const RECT top =
      LayoutNamespaceTree(Bounds(page.left, page.top, page.right, panel2Top - splitter));
  const int filterBottom =
      std::min(static_cast<int>(page.top) + scale(kStripHeight), panel2Top - splitter);
  framework::win32::MoveChild(
      classFilterLabel_,
      Bounds(top.left + scale(kGap), page.top, top.left + scale(kGap + kLabelWidth), filterBottom));
  framework::win32::MoveChild(
      classFilterCombo_,
      Bounds(top.left + scale(kGap + kLabelWidth), page.top + scale(2), page.right - scale(2),
             page.top + scale(2) + scale(kComboDropHeight)));
  framework::win32::MoveChild(classList_,
                              Bounds(top.left, filterBottom, page.right, panel2Top - splitter));
  framework::win32::MoveChild(classListSplitter_.Handle(),
                              Bounds(page.left, panel2Top - splitter, page.right, panel2Top));
  RECT listClient{};
  GetClientRect(classList_, &listClient);
  SendMessageW(classList_, LB_SETCOLUMNWIDTH, std::max<LONG>(listClient.right / 3, 1), 0);

  // The query strip along the bottom edge: label, combo box stretching, button at the right edge.
  const int stripHeight = scale(kStripHeight);
  const int stripTop = page.bottom - stripHeight;
  const int buttonHeight = stripHeight - scale(2);
  framework::win32::MoveChild(
      queryLabel_, Bounds(page.left + scale(kGap), stripTop, page.left + scale(kGap + kLabelWidth),
                          page.bottom));
  const int buttonLeft = page.right - scale(kButtonWidth) - scale(2);
  framework::win32::MoveChild(
      runButton_, Bounds(buttonLeft, stripTop + scale(1), buttonLeft + scale(kButtonWidth),
                         stripTop + scale(1) + buttonHeight));
  framework::win32::MoveChild(
      queryCombo_, Bounds(page.left + scale(kGap + kLabelWidth), stripTop + scale(2),
                          buttonLeft - scale(kGap), stripTop + scale(2) + scale(kComboDropHeight)));

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
  LayoutExplorePages(TabPageArea(propertyPane_, right));
  // A new size of the window gives the value column what the other columns leave.
  if (resized) FitPropertyValueColumn();
}

void ClassBrowserView::FitPropertyValueColumn() {
  if (propertyGrid_ == nullptr) return;
  const int nameWidth = ListView_GetColumnWidth(propertyGrid_, 0);
  const int valueWidth = ListView_GetColumnWidth(propertyGrid_, 1);
  if (valueWidth < nameWidth) return;
  // The value column takes what the name and type columns leave.
  const int typeWidth = ListView_GetColumnWidth(propertyGrid_, 2);
  RECT client{};
  GetClientRect(propertyGrid_, &client);
  const int width = std::max(nameWidth, static_cast<int>(client.right) - nameWidth - typeWidth - 5);
  ListView_SetColumnWidth(propertyGrid_, 1, width);
}

void ClassBrowserView::OnClassListSplitterDrag(int position) {
  const framework::win32::DpiScale scale(dpi_);
  const int height = page_.bottom - (position + scale(kSplitterSize));
  detailsHeight_ = std::max(scale.ToDesign(height), kMinPaneSize);
  Layout(page_);
}

void ClassBrowserView::OnPaneSplitterDrag(int position) {
  const framework::win32::DpiScale scale(dpi_);
  instancePaneWidth_ = std::max(scale.ToDesign(position - page_.left), kMinPaneSize);
  Layout(page_);
  FitPropertyValueColumn();
}

void ClassBrowserView::Show(bool shown) {
  const int show = shown ? SW_SHOW : SW_HIDE;
  for (HWND child : {classFilterLabel_, classFilterCombo_, classList_, classListSplitter_.Handle(),
                     instancePane_, instanceList_, paneSplitter_.Handle(), propertyPane_,
                     propertyGrid_, queryLabel_, queryCombo_, runButton_}) {
    ShowWindow(child, show);
  }
  if (namespaceTree_) {
    ShowWindow(namespaceTree_->Handle(), show);
    ShowWindow(treeSplitter_.Handle(), show);
  }
  shown_ = shown;
  ShowDetailPage();
}

void ClassBrowserView::Activated() {
  if (!classesLoaded_ && client_.CheckLocator()) LoadClasses();
}

bool ClassBrowserView::Handles(ViewCommand command) const {
  switch (command) {
    case ViewCommand::Copy:
    case ViewCommand::CopyValue:
    case ViewCommand::SelectAll:
    case ViewCommand::Find:
    case ViewCommand::FindNext:
    case ViewCommand::Refresh:
    case ViewCommand::CopyPowerShell:
      return true;
    case ViewCommand::Export:
    case ViewCommand::Stop:
      return false;
  }
  return false;
}

void ClassBrowserView::Run(ViewCommand command, bool fromKeyboard) {
  HWND target = fromKeyboard ? GetFocus() : contextList_;
  switch (command) {
    case ViewCommand::Copy:
      OnCopy(target);
      return;
    case ViewCommand::CopyValue:
      if (!fromKeyboard || target == propertyGrid_) OnCopyValue();
      return;
    case ViewCommand::SelectAll:
      OnSelectAll(target);
      return;
    case ViewCommand::Refresh:
      // F5 in the namespace tree lists the chosen node's children again.
      if (fromKeyboard && namespaceTree_ && target == namespaceTree_->Handle()) {
        namespaceTree_->ReloadSelected();
        return;
      }
      LoadClasses();
      return;
    case ViewCommand::CopyPowerShell:
      OnCopyPowerShell();
      return;
    default:
      return;
  }
}

void ClassBrowserView::Found() {
  // The class is only selected; its properties and instances load when the user clicks it.
  SetFocus(classList_);
  EmptyClassPanes();
}

bool ClassBrowserView::OnCommand(int id, int notification, HWND control) {
  if (control == nullptr) {
    switch (id) {
      case kCmdRefreshInstances:
        OnRefreshInstances();
        return true;
      case kCmdSelectFrom:
        OnSelectFrom();
        return true;
      case kCmdHideEmptyClasses:
        OnHideEmptyClasses();
        return true;
      case kCmdFocusClassFilter:
        FocusClassFilter();
        return true;
      case kCmdFollowReference:
        FollowGridReference();
        return true;
      case kCmdBack:
        GoBack();
        return true;
      case kCmdForward:
        GoForward();
        return true;
      default:
        return false;
    }
  }
  switch (id) {
    case kIdClassList:
      if (notification == LBN_SELCHANGE) OnClassChosen();
      return true;
    case kIdInstanceList:
      if (notification == LBN_SELCHANGE) OnInstanceChosen();
      return true;
    case kIdClassTabRunButton:
      if (notification == BN_CLICKED)
        host_.RunQueryOnQueryTab(framework::win32::GetWindowTextUtf8(queryCombo_));
      return true;
    case kIdClassFilterCombo:
      ClassFilterChange(notification);
      return true;
    case kIdRelatedList:
      if (notification == LBN_DBLCLK)
        FollowRelated(framework::win32::Win32ListBox(relatedList_).SelectedIndex());
      return true;
    case kIdDefinitionText:
      return true;
    default:
      return false;
  }
}

bool ClassBrowserView::OnNotify(NMHDR& header, LRESULT& result) {
  if (namespaceTree_ && namespaceTree_->OnNotify(header, result)) return true;
  if (header.hwndFrom == propertyGrid_ && propertyGrid_ != nullptr && header.code == LVN_KEYDOWN &&
      reinterpret_cast<NMLVKEYDOWN&>(header).wVKey == VK_ESCAPE) {
    StopExplore();
    return true;
  }
  if (header.hwndFrom == propertyGrid_ && propertyGrid_ != nullptr &&
      (header.code == NM_DBLCLK || header.code == NM_RETURN)) {
    FollowGridReference();
    return true;
  }
  if (header.hwndFrom != propertyPane_ || propertyPane_ == nullptr) return false;
  if (header.code == TCN_SELCHANGE) OnDetailPageChanged();
  return true;
}

bool ClassBrowserView::OnContextMenu(HWND control, POINT point) {
  if (control == instanceList_ || control == propertyGrid_) {
    ListContextMenu(control, point);
    return true;
  }
  if (control != classList_) return false;
  if (classMenu_.Get() == nullptr) return true;
  contextList_ = classList_;
  PrepareClassMenu();
  TrackContextMenu(classMenu_.Get(), host_.Frame(), point);
  return true;
}

void ClassBrowserView::WorkersStopped() {
  columnNames_.clear();
  resultValues_.clear();
}

void ClassBrowserView::Histories(HistoryCombos& combos) {
  if (classFilterCombo_ != nullptr) combos.classFilter = &filterHistory_;
}

void ClassBrowserView::SavingHistories() {
  // The filter in use counts as used, like a query that ran.
  if (classFilterCombo_ != nullptr && !ClassFilter::Normalized(ClassFilterText()).empty())
    util::AddToHistory(filterHistory_, ClassFilterText());
}

}  // namespace brevane::app::win32
