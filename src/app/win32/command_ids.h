#pragma once
// Menu command and control identifiers of the main window. The end-to-end tests drive the
// window with these, so they never change meaning.
namespace brevane::app::win32 {

enum CommandId : int {
  // Main menu
  kCmdConnect = 101,
  kCmdRefresh = 102,
  kCmdExit = 103,
  kCmdExport = 104,  // "导出..." (also in the result table's context menu), Ctrl+S
  kCmdFind = 111,
  kCmdFindNext = 112,
  kCmdHideEmptyClasses = 113,
  kCmdShowClassesWithoutCaption = 114,
  kCmdFocusClassFilter = 115,     // Ctrl+L
  kCmdFindClassEverywhere = 201,  // "在所有命名空间中查找类...", Ctrl+Shift+F
  kCmdHelp = 121,
  kCmdHomePage = 122,
  kCmdSupport = 123,
  kCmdAbout = 124,
  // Context menu of the class list
  kCmdRefreshInstances = 131,
  kCmdSelectFrom = 132,
  // Context menus of the lists, and their keys
  kCmdCopy = 151,       // "复制", Ctrl+C
  kCmdCopyValue = 152,  // "复制值", Ctrl+Shift+C
  kCmdSelectAll = 153,  // "全选", Ctrl+A
  // Context menu of the property grid: "转到对象" follows a reference value
  kCmdFollowReference = 221,
  // The first menu: "后退" (Alt+Left) and "前进" (Alt+Right) walk the classes and objects shown
  kCmdBack = 222,
  kCmdForward = 223,
  // "执行方法...": the first menu and the instance list's context menu (Ctrl+M) take the current
  // class and the chosen instance; the class list's context menu the selected class alone
  kCmdExecuteMethod = 241,
  kCmdExecuteClassMethod = 242,
  kCmdCopyPowerShell = 250,  // "复制为 PowerShell", Ctrl+Shift+P
  // The query tab's status list of computers, and its button: "重新运行失败的"
  kCmdRerunFailed = 260,
  // Keyboard only: Ctrl+Tab and Ctrl+Shift+Tab switch the tabs
  kCmdNextTab = 141,
  kCmdPreviousTab = 142,
};

enum ControlId : int {
  kIdTabs = 1001,
  kIdClassList = 1002,
  kIdInstancePane = 1003,
  kIdInstanceList = 1004,
  kIdPropertyPane = 1005,
  kIdPropertyGrid = 1006,
  kIdClassTabQueryLabel = 1007,
  kIdClassTabQueryCombo = 1008,
  kIdClassTabRunButton = 1009,
  kIdQueryLabel = 1010,
  kIdQueryCombo = 1011,
  kIdRunQueryButton = 1012,
  kIdResultTable = 1013,
  kIdStatusBar = 1014,
  kIdClassFilterLabel = 1015,
  kIdClassFilterCombo = 1016,
  // The property pane's other pages: "定义" and "关联"
  kIdDefinitionText = 1121,
  kIdRelatedList = 1122,
  // The namespace tree left of the class list
  kIdNamespaceTree = 1101,
  // The query tab's computers: the box "计算机" and the status list "计算机状态"
  kIdComputerLabel = 1160,
  kIdComputerCombo = 1161,
  kIdFleetStatusLabel = 1162,
  kIdFleetStatusList = 1163,
  kIdRerunFailedButton = 1164,
  // The method dialog "执行方法" (its own window: "执行" is IDOK, "取消" IDCANCEL). Each
  // in-parameter's row has three controls from kIdMethodFieldBase on: label, editor, message.
  kIdMethodLabel = 1141,
  kIdMethodCombo = 1142,
  kIdMethodTarget = 1143,
  kIdMethodScroll = 1144,
  kIdMethodCopyButton = 1145,
  kIdMethodNote = 1146,
  kIdMethodResult = 1147,
  kIdMethodStatus = 1148,
  kIdMethodFieldBase = 3000,
};

}  // namespace brevane::app::win32
