// Copy, export and the class filter of the real main window, in process, on the fake backend:
// what reaches the clipboard and the file, read back exactly.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "app/win32/command_ids.h"
#include "app/win32/main_window.h"
#include "app/win32/main_window_probe.h"
#include "app/win32/pump_until.h"
#include "app/win32/message_box_watcher.h"
#include "app/win32/temp_folder.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/controls.h"
#include "framework/win32/encoding.h"
#include "support/fake_object_world.h"
#include "support/fake_wmi.h"

namespace brevane::app::win32 {
namespace {

using Strings = std::vector<std::string>;
using wmi::Property;
using wmi::Value;

constexpr char kThingNs[] = "root\\cimv2";
const std::string kTricky = "tab\there, \"quoted\"\r\nnext line 进程";

std::string ClipboardText() {
  std::string text = "<no clipboard>";
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = framework::win32::WideToUtf8(wide);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void ClearClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

std::string FileBytes(const std::wstring& path) {
  std::ifstream in(framework::win32::WideToUtf8(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Strings FolderFiles(const std::wstring& folder) {
  Strings names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(framework::win32::WideToUtf8(name));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

class CopyExportWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_->AddClass(kThingNs, "Thing", "", {"Name", "Note"});
    fake_->AddInstance(
        kThingNs, "Thing",
        {Property{"Name", Value::Text("beta")}, Property{"Note", Value::Text(kTricky)}});
    fake_->AddInstance(kThingNs, "Thing",
                       {Property{"Name", Value::Text("alpha")}, Property{"Note", Value::Text("")}});
    for (const char* name : {"Win32_Process", "Win32_Service", "CIM_Process", "Widget"})
      fake_->AddClass(kThingNs, name, "", {"Name"});
    window_ = std::make_unique<MainWindow>(GetModuleHandleW(nullptr), fake_, Strings{});
    ASSERT_TRUE(window_->Create(SW_SHOWNORMAL));
    SetForegroundWindow(window_->Handle());
    ASSERT_TRUE(PumpUntil([&] { return Probe(*window_).ClassesLoaded(); }));
    Settle();
  }

  // The window's requests run on workers: until they have answered.
  void Settle() {
    EXPECT_TRUE(PumpUntil([&] { return !Probe(*window_).BackgroundBusy(); }));
  }
  void TearDown() override {
    if (window_ && IsWindow(window_->Handle())) DestroyWindow(window_->Handle());
    PumpUntil([] { return false; }, 50);
  }

  Strings ClassList() const {
    framework::win32::Win32ListBox list(Probe(*window_).ClassList());
    Strings names;
    for (int i = 0; i < list.ItemCount(); ++i) names.push_back(list.ItemText(i));
    return names;
  }

  void ChooseClass(const std::string& name) {
    framework::win32::Win32ListBox list(Probe(*window_).ClassList());
    for (int i = 0; i < list.ItemCount(); ++i) {
      if (list.ItemText(i) == name) list.Select(i);
    }
    Probe(*window_).OnClassChosen();
    Settle();
  }

  void RunQuery(const std::string& text) {
    Probe(*window_).SetQueryText(text);
    Probe(*window_).RunQuery();
    Settle();
  }

  void SelectGridRows(std::initializer_list<int> rows) {
    ListView_SetItemState(Probe(*window_).PropertyGrid(), -1, 0, LVIS_SELECTED);
    for (int row : rows)
      ListView_SetItemState(Probe(*window_).PropertyGrid(), row, LVIS_SELECTED, LVIS_SELECTED);
  }

  void TypeIntoFilter(const std::wstring& keys) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(Probe(*window_).ClassFilterCombo(), &info));
    for (wchar_t key : keys) SendMessageW(info.hwndItem, WM_CHAR, key, 0);
  }

  void PressEscapeInFilter() {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(Probe(*window_).ClassFilterCombo(), &info));
    SendMessageW(info.hwndItem, WM_KEYDOWN, VK_ESCAPE, 0);
  }

  std::shared_ptr<testing::FakeWmi> fake_ = std::make_shared<testing::FakeWmi>();
  std::unique_ptr<MainWindow> window_;
};

TEST_F(CopyExportWindowTest, CopyFromEveryListReadsBackExactly) {
  ClearClipboard();
  ChooseClass("Thing");
  Probe(*window_).OnCopy(Probe(*window_).ClassList());
  EXPECT_EQ(ClipboardText(), "Thing");

  ASSERT_TRUE(PumpUntil([&] { return Probe(*window_).StatusPanel(2) == "Instances: 2"; }));
  framework::win32::Win32ListBox instances(Probe(*window_).InstanceList());
  instances.Select(0);
  Probe(*window_).OnInstanceChosen();
  Settle();
  Probe(*window_).OnCopy(Probe(*window_).InstanceList());
  EXPECT_EQ(ClipboardText(), instances.ItemText(0));

  SelectGridRows({0, 1});
  Probe(*window_).OnCopy(Probe(*window_).PropertyGrid());
  EXPECT_EQ(ClipboardText(),
            "Name\tbeta\r\nNote\t\"tab\there, \"\"quoted\"\"\r\nnext line 进程\"\r\n");
  SelectGridRows({1});
  Probe(*window_).OnCopyValue();
  EXPECT_EQ(ClipboardText(), kTricky);

  RunQuery("select Name, Note from Thing");
  ListView_SetItemState(Probe(*window_).ResultTable(), 1, LVIS_SELECTED, LVIS_SELECTED);
  Probe(*window_).OnCopy(Probe(*window_).ResultTable());
  EXPECT_EQ(ClipboardText(),
            "Name\tNote\r\nbeta\t\"tab\there, \"\"quoted\"\"\r\nnext line 进程\"\r\n");
  Probe(*window_).OnSelectAll(Probe(*window_).ResultTable());
  Probe(*window_).OnCopy(Probe(*window_).ResultTable());
  EXPECT_EQ(ClipboardText(),
            "Name\tNote\r\nalpha\t\r\nbeta\t\"tab\there, \"\"quoted\"\"\r\nnext line 进程\"\r\n");
}

// A related object copies its path, a class's line its text; "转到对象" is offered for one row
// that names an object, and for nothing else.
TEST_F(CopyExportWindowTest, RelatedObjectsCopyTheirPathsAndOnlyAReferenceIsGoneTo) {
  testing::AddObjectWorld(*fake_);
  Probe(*window_).LoadClasses();
  Settle();
  ChooseClass("Brevane_Service");
  ASSERT_TRUE(PumpUntil([&] { return Probe(*window_).StatusPanel(2) == "Instances: 4"; }));
  framework::win32::Win32ListBox instances(Probe(*window_).InstanceList());
  for (int i = 0; i < instances.ItemCount(); ++i) {
    if (instances.ItemText(i) == "Alpha") instances.Select(i);
  }
  Probe(*window_).OnInstanceChosen();
  Settle();

  HWND grid = Probe(*window_).PropertyGrid();
  int owner = -1;
  for (int row = 0; row < ListView_GetItemCount(grid); ++row) {
    if (framework::win32::ListViewText(grid, row, 0) == "Owner") owner = row;
  }
  ASSERT_GT(owner, 0);
  const struct {
    std::initializer_list<int> rows;
    bool offered;
  } cases[] = {{{owner}, true}, {{0}, false}, {{0, owner}, false}, {{}, false}};
  for (const auto& c : cases) {
    SelectGridRows(c.rows);
    HMENU menu = Probe(*window_).PrepareListMenu(grid);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ((GetMenuState(menu, kCmdFollowReference, MF_BYCOMMAND) & MF_GRAYED) == 0, c.offered)
        << c.rows.size();
  }

  TabCtrl_SetCurSel(Probe(*window_).PropertyPane(), 2);
  Probe(*window_).OnDetailPageChanged();
  framework::win32::Win32ListBox related(Probe(*window_).RelatedList());
  ASSERT_TRUE(PumpUntil([&] { return related.ItemCount() == 6; }));
  ClearClipboard();
  related.Select(2);
  Probe(*window_).OnCopy(Probe(*window_).RelatedList());
  EXPECT_EQ(ClipboardText(), R"(\\BREVANE-PC\root\cimv2:Brevane_Service.Name="Gamma")");
  related.Select(0);
  Probe(*window_).OnCopy(Probe(*window_).RelatedList());
  EXPECT_EQ(ClipboardText(), "Brevane_Service (2)");
}

TEST_F(CopyExportWindowTest, ShortcutsGoToTheFocusedControl) {
  auto shortcut = [&](int command) {
    SendMessageW(window_->Handle(), WM_COMMAND, MAKEWPARAM(command, 1), 0);
  };
  ChooseClass("Widget");
  SetFocus(Probe(*window_).ClassList());
  shortcut(kCmdCopy);
  EXPECT_EQ(ClipboardText(), "Widget");
  // In an edit field the keys keep their usual meaning.
  Probe(*window_).SelectTab(1);
  Probe(*window_).SetQueryText("select Name from Thing");
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetComboBoxInfo(Probe(*window_).QueryCombo(), &info));
  SetFocus(info.hwndItem);
  SendMessageW(info.hwndItem, EM_SETSEL, 0, 0);
  shortcut(kCmdSelectAll);
  shortcut(kCmdCopy);
  EXPECT_EQ(ClipboardText(), "select Name from Thing");
  RunQuery("select Name from Thing");
  SetFocus(Probe(*window_).ResultTable());
  shortcut(kCmdSelectAll);
  shortcut(kCmdCopy);
  EXPECT_EQ(ClipboardText(), "Name\r\nalpha\r\nbeta\r\n");
}

// Ctrl+Shift+P goes to the active tab: the chosen instance by its keys, else the class; the
// query of the query box.
TEST_F(CopyExportWindowTest, CopyAsPowerShellNamesTheChosenInstanceOrTheQuery) {
  auto shortcut = [&] {
    SendMessageW(window_->Handle(), WM_COMMAND, MAKEWPARAM(kCmdCopyPowerShell, 1), 0);
  };
  ChooseClass("Thing");
  ClearClipboard();
  shortcut();
  EXPECT_EQ(ClipboardText(), "Get-CimInstance -Namespace root/cimv2 -ClassName Thing");
  ASSERT_TRUE(PumpUntil([&] { return Probe(*window_).StatusPanel(2) == "Instances: 2"; }));
  framework::win32::Win32ListBox instances(Probe(*window_).InstanceList());
  instances.Select(0);
  shortcut();
  EXPECT_EQ(ClipboardText(),
            "Get-CimInstance -Namespace root/cimv2 -ClassName Thing -Filter \"Name='beta'\"");
  Probe(*window_).SelectTab(1);
  Probe(*window_).SetQueryText("select Name from Thing where Note = 'it''s'");
  shortcut();
  EXPECT_EQ(ClipboardText(),
            "Get-CimInstance -Namespace root/cimv2 -Query 'select Name from Thing where Note = "
            "''it''''s'''");
}

TEST_F(CopyExportWindowTest, ClipboardHeldByAnotherProgramIsReportedInTheStatusBar) {
  ChooseClass("Thing");
  HANDLE held = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    HWND owner =
        CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    OpenClipboard(owner);
    SetEvent(held);
    WaitForSingleObject(release, 10000);
    CloseClipboard();
    DestroyWindow(owner);
  });
  WaitForSingleObject(held, 10000);
  Probe(*window_).OnCopy(Probe(*window_).ClassList());
  SetEvent(release);
  holder.join();
  CloseHandle(held);
  CloseHandle(release);
  EXPECT_EQ(Probe(*window_).StatusPanel(2),
            "Could not copy: the clipboard is in use by another program");
}

TEST_F(CopyExportWindowTest, ExportWritesTheTableAndNeverHarmsAReadOnlyFile) {
  MessageBoxWatcher boxes;
  testing::TempFolder folder;
  RunQuery("select Name, Note from Thing");
  Probe(*window_).OnResultColumnClick(0);  // descending by name: beta first
  const std::wstring csv = folder.File(L"result.csv");
  ASSERT_TRUE(Probe(*window_).ExportResultTable(csv, DelimitedFormat::Csv));
  const std::string expected =
      "\xEF\xBB\xBFName,Note\r\nbeta,\"tab\there, \"\"quoted\"\"\r\nnext line 进程\"\r\nalpha,\r\n";
  EXPECT_EQ(FileBytes(csv), expected);
  EXPECT_EQ(Probe(*window_).StatusPanel(2), "Exported 2 rows");

  const std::wstring tsv = folder.File(L"result.txt");
  ASSERT_TRUE(Probe(*window_).ExportResultTable(tsv, DelimitedFormat::Tsv));
  EXPECT_EQ(FileBytes(tsv),
            "\xEF\xBB\xBFName\tNote\r\nbeta\t\"tab\there, \"\"quoted\"\"\r\nnext line "
            "进程\"\r\nalpha\t\r\n");

  // Over a read-only file: a clean failure with the system's text; the file stays as it was and
  // no temporary file is left behind.
  ASSERT_TRUE(SetFileAttributesW(csv.c_str(), FILE_ATTRIBUTE_READONLY));
  Probe(*window_).OnResultColumnClick(0);
  EXPECT_FALSE(Probe(*window_).ExportResultTable(csv, DelimitedFormat::Csv));
  EXPECT_EQ(FileBytes(csv), expected);
  EXPECT_EQ(Probe(*window_).StatusPanel(2).rfind(
                "Could not export to " + framework::win32::WideToUtf8(csv) + ": ", 0),
            0u);
  EXPECT_EQ(boxes.Texts().size(), 1u);
  // Into a folder that does not exist.
  EXPECT_FALSE(
      Probe(*window_).ExportResultTable(folder.File(L"missing\\x.csv"), DelimitedFormat::Csv));
  Strings files = FolderFiles(folder.Path());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (Strings{"result.csv", "result.txt"}));
}

TEST_F(CopyExportWindowTest, GridShowsTypesAndKeys) {
  fake_->AddClass(kThingNs, "Typed", "", {"Id", "Tags", "Owner"},
                  {wmi::kCimUint32, wmi::kCimString | wmi::kCimArrayFlag, wmi::kCimObject});
  fake_->SetQualifiers(kThingNs, "Typed", "Id", {true, ""});
  fake_->SetQualifiers(kThingNs, "Typed", "Owner", {false, "Win32_Account"});
  fake_->AddInstance(kThingNs, "Typed",
                     {{"Id", testing::cim::Uint32(7)},
                      {"Tags", testing::cim::Null(wmi::kCimString | wmi::kCimArrayFlag)},
                      {"Owner", testing::cim::Null(wmi::kCimObject)}});
  Probe(*window_).LoadClasses();
  Settle();
  auto grid = [&] {
    std::vector<Strings> rows;
    for (int row = 0; row < ListView_GetItemCount(Probe(*window_).PropertyGrid()); ++row) {
      rows.push_back({framework::win32::ListViewText(Probe(*window_).PropertyGrid(), row, 0),
                      framework::win32::ListViewText(Probe(*window_).PropertyGrid(), row, 1),
                      framework::win32::ListViewText(Probe(*window_).PropertyGrid(), row, 2)});
    }
    return rows;
  };
  ChooseClass("Typed");
  EXPECT_EQ(grid(), (std::vector<Strings>{{"Id (key)", "", "uint32"},
                                          {"Tags", "", "string[]"},
                                          {"Owner", "", "object:Win32_Account"},
                                          {"", "", ""}}));
  ASSERT_TRUE(PumpUntil([&] { return Probe(*window_).StatusPanel(2) == "Instances: 1"; }));
  framework::win32::Win32ListBox(Probe(*window_).InstanceList()).Select(0);
  Probe(*window_).OnInstanceChosen();
  Settle();
  const std::vector<Strings> instanceRows = grid();
  EXPECT_EQ(instanceRows, (std::vector<Strings>{{"Id (key)", "7", "uint32"},
                                                {"Tags", "", "string[]"},
                                                {"Owner", "", "object:Win32_Account"},
                                                {"", "", ""}}));
  // Chosen before the class's answer arrived (the instance's fetch replaced it): the types
  // come with the instance.
  Probe(*window_).PropertyTypes().clear();
  Probe(*window_).OnInstanceChosen();
  Settle();
  EXPECT_EQ(grid(), instanceRows);
  // A copy takes the bare name.
  SelectGridRows({0});
  Probe(*window_).OnCopy(Probe(*window_).PropertyGrid());
  EXPECT_EQ(ClipboardText(), "Id\t7\r\n");
}

TEST_F(CopyExportWindowTest, NoExportOrSelectAllOfATableThatStillGrows) {
  fake_->SetHangAt(1, "ExecQuery");  // the first row arrives, then the query waits
  Probe(*window_).SetQueryText("select Name from Thing");
  Probe(*window_).RunQuery();
  const HWND table = Probe(*window_).ResultTable();
  ASSERT_TRUE(PumpUntil([&] { return ListView_GetItemCount(table) == 1; }));
  EXPECT_FALSE(Probe(*window_).ExportAvailable());
  Probe(*window_).OnSelectAll(table);
  EXPECT_EQ(ListView_GetSelectedCount(table), 0u);
  // Stopped, the rows so far are the result and may be exported.
  Probe(*window_).StopQuery();
  EXPECT_TRUE(Probe(*window_).ExportAvailable());
  Probe(*window_).OnSelectAll(table);
  EXPECT_EQ(ListView_GetSelectedCount(table), 1u);
  Settle();
}

TEST_F(CopyExportWindowTest, FilterNarrowsTheClassList) {
  const Strings all = ClassList();
  ASSERT_EQ(all.size(), 5u);
  EXPECT_EQ(Probe(*window_).StatusPanel(1), "Classes: 5");
  ChooseClass("Win32_Process");
  TypeIntoFilter(L"PROC");
  EXPECT_EQ(ClassList(), (Strings{"CIM_Process", "Win32_Process"}));
  EXPECT_EQ(Probe(*window_).StatusPanel(1), "Classes: 2 / 5");
  // The chosen class stays chosen while it is shown.
  EXPECT_EQ(framework::win32::Win32ListBox(Probe(*window_).ClassList()).SelectedIndex(), 1);
  TypeIntoFilter(L"x");
  EXPECT_TRUE(ClassList().empty());
  EXPECT_EQ(Probe(*window_).StatusPanel(1), "Classes: 0 / 5");
  PressEscapeInFilter();
  EXPECT_EQ(ClassList(), all);
  // The class the panes show is chosen again after a filter hid it.
  const int process =
      static_cast<int>(std::find(all.begin(), all.end(), "Win32_Process") - all.begin());
  EXPECT_EQ(framework::win32::Win32ListBox(Probe(*window_).ClassList()).SelectedIndex(), process);
  EXPECT_EQ(Probe(*window_).StatusPanel(1), "Classes: 5");
  EXPECT_EQ(Probe(*window_).ClassFilterText(), "");

  // A reload keeps the filter on.
  TypeIntoFilter(L"win32");
  Probe(*window_).LoadClasses();
  Settle();
  EXPECT_EQ(ClassList(), (Strings{"Win32_Process", "Win32_Service"}));
  EXPECT_EQ(Probe(*window_).StatusPanel(1), "Classes: 2 / 5");
}

}  // namespace
}  // namespace brevane::app::win32
