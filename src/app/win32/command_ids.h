#pragma once
// Menu command and control identifiers of the main window. The end-to-end tests drive the
// window with these, so they never change meaning.
namespace brevane::app::win32 {

enum CommandId : int {
  // Main menu
  kCmdConnecttoremotehost1 = 101,
  kCmdRefresh1 = 102,
  kCmdExit1 = 103,
  kCmdExport = 104,  // "导出..." (also in the result table's context menu), Ctrl+S
  kCmdSearch1 = 111,
  kCmdFindagain1 = 112,
  kCmdHideclasseswithnoinstances1 = 113,
  kCmdShowclasseswithoutCaptionproperty1 = 114,
  kCmdFocusClassFilter = 115,  // Ctrl+L
  kCmdHelp2 = 121,
  kCmdHomepage1 = 122,
  kCmdSupport1 = 123,
  kCmdAbout1 = 124,
  // Context menu of the class list
  kCmdRefresh2 = 131,
  kCmdSelectfrom1 = 132,
  // Context menus of the lists, and their keys
  kCmdCopy = 151,       // "复制", Ctrl+C
  kCmdCopyValue = 152,  // "复制值", Ctrl+Shift+C
  kCmdSelectAll = 153,  // "全选", Ctrl+A
  // Keyboard only: Ctrl+Tab and Ctrl+Shift+Tab switch the tabs
  kCmdNextTab = 141,
  kCmdPreviousTab = 142,
};

enum ControlId : int {
  kIdPageControl2 = 1001,
  kIdClassListBox = 1002,
  kIdPageControl3 = 1003,
  kIdInstanceListBox = 1004,
  kIdPageControl1 = 1005,
  kIdPropGrid = 1006,
  kIdLabel4 = 1007,
  kIdQueryCombo = 1008,
  kIdQuery1Btn = 1009,
  kIdLabel5 = 1010,
  kIdQuery2Combo = 1011,
  kIdQuery2Btn = 1012,
  kIdListView1 = 1013,
  kIdStatusBar1 = 1014,
  kIdClassFilterLabel = 1015,
  kIdClassFilterCombo = 1016,
};

}  // namespace brevane::app::win32
