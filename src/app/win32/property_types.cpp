// The property grid's types: the class click reads each property's CIM type and key qualifier
// from the class definition; every filling of the grid shows them in the column "Type" and
// marks the keys after their names, the instance click's as well as the class click's.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/copy_text.h"
#include "app/win32/main_window.h"
#include "framework/win32/controls.h"
#include "util/text.h"

namespace brevane::app::win32 {

namespace {
constexpr int kTypeColumn = 2;
}  // namespace

const wmi::PropertyType* TMainWin::PropertyTypeOf(const std::string& name) const {
  for (const wmi::PropertyType& type : propertyTypes_) {
    if (type.name == name) return &type;
  }
  // WMI compares property names without regard to case.
  const std::string folded = util::AsciiLower(name);
  for (const wmi::PropertyType& type : propertyTypes_) {
    if (util::AsciiLower(type.name) == folded) return &type;
  }
  return nullptr;
}

void TMainWin::ShowPropertyTypes() {
  const auto rows = static_cast<int>(SendMessageW(PropGrid, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    const std::string name = framework::win32::ListViewText(PropGrid, row, 0);
    if (name.empty()) continue;
    const wmi::PropertyType* type = PropertyTypeOf(name);
    if (type == nullptr) continue;
    framework::win32::SetListViewText(PropGrid, row, kTypeColumn, type->typeName);
    if (type->key)
      framework::win32::SetListViewText(PropGrid, row, 0, PropertyGridName(name, true));
  }
}

}  // namespace brevane::app::win32
