// The menu bar and the keyboard shortcuts of the main window.
#include <array>
#include <string>

#include "app/win32/command_ids.h"
#include "app/win32/main_menu.h"
#include "framework/win32/encoding.h"

namespace brevane::app::win32 {

namespace {

constexpr int kNoIcon = -1;

struct MenuItem {
  int id;  // 0: separator
  const char* caption;
  int icon;
  UINT state;
};

void AppendItem(HMENU menu, const MenuItem& item,
                const std::vector<framework::win32::UniqueBitmap>& bitmaps) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  std::wstring caption = framework::win32::Utf8ToWide(item.caption);
  if (item.id == 0) {
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    info.fType = MFT_SEPARATOR;
    info.fState = item.state;
  } else {
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
    info.wID = static_cast<UINT>(item.id);
    info.dwTypeData = caption.data();
    info.fState = item.state;
    if (item.icon >= 0 && static_cast<size_t>(item.icon) < bitmaps.size()) {
      info.fMask |= MIIM_BITMAP;
      info.hbmpItem = bitmaps[static_cast<size_t>(item.icon)].Get();
    }
  }
  InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
}

void AppendSubmenu(HMENU bar, const char* caption, HMENU submenu) {
  const std::wstring text = framework::win32::Utf8ToWide(caption);
  AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu), text.c_str());
}

}  // namespace

HMENU CreateMainMenu(const std::vector<framework::win32::UniqueBitmap>& bitmaps) {
  // The find menu's class filter items (a separator, hiding the classes without instances,
  // showing the classes without a Caption property) are hidden: a Win32 menu cannot hide an
  // item, so they are left out; their commands keep their identifiers.
  HMENU action = CreatePopupMenu();
  for (const MenuItem& item :
       {MenuItem{kCmdConnect, "&连接到主机...", 0, MFS_ENABLED},
        MenuItem{kCmdRefresh, "&刷新\tF5", 1, MFS_ENABLED},
        MenuItem{kCmdExport, "导出...\tCtrl+S", kNoIcon, MFS_ENABLED},
        MenuItem{kCmdCopyPowerShell, "复制为 PowerShell\tCtrl+Shift+P", kNoIcon, MFS_ENABLED},
        MenuItem{kCmdExecuteMethod, "执行方法...\tCtrl+M", kNoIcon, MFS_ENABLED},
        MenuItem{0, "-", kNoIcon, MFS_ENABLED},
        MenuItem{kCmdBack, "后退\tAlt+Left", kNoIcon, MFS_GRAYED},
        MenuItem{kCmdForward, "前进\tAlt+Right", kNoIcon, MFS_GRAYED},
        MenuItem{0, "-", kNoIcon, MFS_ENABLED},
        MenuItem{kCmdExit, "&退出\tAlt+X", 2, MFS_ENABLED}}) {
    AppendItem(action, item, bitmaps);
  }
  HMENU view = CreatePopupMenu();
  for (const MenuItem& item :
       {MenuItem{kCmdFind, "&查找...\tCtrl+F", 3, MFS_ENABLED},
        MenuItem{kCmdFindNext, "开始查找\tF3", 4, MFS_ENABLED},
        MenuItem{kCmdFindClassEverywhere, "在所有命名空间中查找类...\tCtrl+Shift+F", kNoIcon,
                 MFS_ENABLED},
        MenuItem{kCmdFocusClassFilter, "筛选类\tCtrl+L", kNoIcon, MFS_ENABLED}}) {
    AppendItem(view, item, bitmaps);
  }
  HMENU help = CreatePopupMenu();
  for (const MenuItem& item :
       {MenuItem{kCmdHelp, "帮助\tF1", 5, MFS_ENABLED},
        MenuItem{kCmdHomePage, "主页", 6, MFS_ENABLED},
        MenuItem{kCmdSupport, "联机帮助", 7, MFS_ENABLED}, MenuItem{0, "-", kNoIcon, MFS_DISABLED},
        MenuItem{kCmdAbout, "关于我们", kNoIcon, MFS_ENABLED}}) {
    AppendItem(help, item, bitmaps);
  }
  HMENU bar = CreateMenu();
  AppendSubmenu(bar, "操作动作", action);
  AppendSubmenu(bar, "&查找", view);
  AppendSubmenu(bar, "帮助", help);
  return bar;
}

framework::win32::UniqueAccelerators CreateMainAccelerators() {
  std::array<ACCEL, 17> table = {{
      {FVIRTKEY, VK_F5, kCmdRefresh},
      {FVIRTKEY | FALT, 'X', kCmdExit},
      {FVIRTKEY | FCONTROL, 'F', kCmdFind},
      {FVIRTKEY | FCONTROL | FSHIFT, 'F', kCmdFindClassEverywhere},
      {FVIRTKEY, VK_F3, kCmdFindNext},
      {FVIRTKEY, VK_F1, kCmdHelp},
      {FVIRTKEY | FCONTROL, VK_TAB, kCmdNextTab},
      {FVIRTKEY | FCONTROL | FSHIFT, VK_TAB, kCmdPreviousTab},
      {FVIRTKEY | FCONTROL, 'C', kCmdCopy},
      {FVIRTKEY | FCONTROL | FSHIFT, 'C', kCmdCopyValue},
      {FVIRTKEY | FCONTROL, 'A', kCmdSelectAll},
      {FVIRTKEY | FCONTROL, 'S', kCmdExport},
      {FVIRTKEY | FCONTROL, 'L', kCmdFocusClassFilter},
      {FVIRTKEY | FALT, VK_LEFT, kCmdBack},
      {FVIRTKEY | FALT, VK_RIGHT, kCmdForward},
      {FVIRTKEY | FCONTROL | FSHIFT, 'P', kCmdCopyPowerShell},
      {FVIRTKEY | FCONTROL, 'M', kCmdExecuteMethod},
  }};
  return framework::win32::UniqueAccelerators(
      CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
}

}  // namespace brevane::app::win32
