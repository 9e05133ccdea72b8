// The main window in this process, on the in-memory WMI: start-up, switches, menus and the
// query tab, read back through the controls themselves.
#include "app/win32/main_window.h"
#include "app/win32/main_window_probe.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "app/result_rows.h"
#include "app/win32/command_ids.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/encoding.h"
#include "support/fake_wmi.h"
#include "app/win32/message_box_watcher.h"

namespace brevane::app::win32 {
namespace {

using Strings = std::vector<std::string>;
using testing::FakeWmi;
using wmi::Property;
using wmi::Value;

constexpr char kNs[] = "root\\cimv2";

Strings MenuCaptions(HMENU menu) {
  Strings captions;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
    captions.push_back(framework::win32::WideToUtf8(text));
  }
  return captions;
}

class MainWindowInProcess : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
  }

  void SetUp() override {
    // The window loads its histories from beside this exe: start from a first run.
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring settings(path);
    settings = settings.substr(0, settings.find_last_of(L"\\/") + 1) + L"brevane.ini";
    DeleteFileW(settings.c_str());
    fake_.AddClass(kNs, "Thing", "", {"Name", "Size", "Flag"});
    AddThing("beta", 10, false);
    AddThing("Alpha", 9, true);
    AddThing("gamma", 100, false);
    fake_.AddClass(kNs, "Win32_Process", "", {"Caption", "ThreadCount"});
  }

  void AddThing(const std::string& name, int size, bool flag) {
    fake_.AddInstance(kNs, "Thing",
                      {Property{"Name", Value::Text(name)}, Property{"Size", Value::Int(size)},
                       Property{"Flag", Value::Bool(flag)}});
  }

  void Open(Strings arguments = {}) {
    window_ =
        std::make_unique<MainWindow>(GetModuleHandleW(nullptr), fakeShared_, std::move(arguments));
    ASSERT_TRUE(window_->Create(SW_HIDE));
  }

  Strings Cells(int column) const {
    Strings cells;
    const int rows = ListView_GetItemCount(Probe(*window_).ResultTable());
    for (int row = 0; row < rows; ++row) {
      wchar_t text[512] = {};
      ListView_GetItemText(Probe(*window_).ResultTable(), row, column, text, 512);
      cells.push_back(framework::win32::WideToUtf8(text));
    }
    return cells;
  }

  int HeaderImage(int column) const {
    HWND header = ListView_GetHeader(Probe(*window_).ResultTable());
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    Header_GetItem(header, column, &item);
    return (item.fmt & HDF_IMAGE) != 0 ? item.iImage : -1;
  }

  int HeaderCount() const {
    return Header_GetItemCount(ListView_GetHeader(Probe(*window_).ResultTable()));
  }

  void RunQuery(const std::string& text) {
    Probe(*window_).SetQueryText(text);
    Probe(*window_).RunQuery();
    Settle();
  }

  // Handles messages until done() holds (at most 20 s).
  static bool Pump(const std::function<bool()>& done) {
    const ULONGLONG until = GetTickCount64() + 20000;
    MSG message{};
    while (GetTickCount64() < until) {
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
      if (done()) return true;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return done();
  }

  // Until the window's background requests have ended.
  void Settle() {
    EXPECT_TRUE(Pump([&] { return !Probe(*window_).BackgroundBusy(); }))
        << "the background requests did not end";
  }

  Strings History() const {
    framework::win32::Win32ComboBox combo(Probe(*window_).QueryCombo());
    Strings items;
    for (int i = 0; i < combo.ItemCount(); ++i) items.push_back(combo.ItemText(i));
    return items;
  }

  std::shared_ptr<FakeWmi> fakeShared_ = std::make_shared<FakeWmi>();
  FakeWmi& fake_ = *fakeShared_;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowInProcess, MenusShowTheirCaptionsAndLeaveTheHiddenItemsOut) {
  Open();
  HMENU bar = GetMenu(window_->Handle());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(MenuCaptions(bar), (Strings{"操作动作", "&查找", "帮助"}));
  EXPECT_EQ(MenuCaptions(GetSubMenu(bar, 0)),
            (Strings{"&连接到主机...", "&刷新\tF5", "导出...\tCtrl+S",
                     "复制为 PowerShell\tCtrl+Shift+P", "执行方法...\tCtrl+M", "", "后退\tAlt+Left",
                     "前进\tAlt+Right", "", "&退出\tAlt+X"}));
  // Nowhere to go back or forward to yet.
  for (int id : {kCmdBack, kCmdForward})
    EXPECT_EQ(GetMenuState(bar, id, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(MenuCaptions(GetSubMenu(bar, 1)),
            (Strings{"&查找...\tCtrl+F", "开始查找\tF3", "在所有命名空间中查找类...\tCtrl+Shift+F",
                     "筛选类\tCtrl+L"}));
  EXPECT_EQ(MenuCaptions(GetSubMenu(bar, 2)),
            (Strings{"帮助\tF1", "主页", "联机帮助", "", "关于我们"}));
  EXPECT_EQ(MenuCaptions(window_->ClassMenu()),
            (Strings{"刷新...", "", "Select * from ...", "执行方法...", "", "复制\tCtrl+C"}));
  EXPECT_EQ(ImageList_GetImageCount(window_->Images()), 10);

  MainWindowProbe::SetMenuItemCaption(window_->ClassMenu(), kCmdSelectFrom, "select * from A&B",
                                      false);
  EXPECT_EQ(MenuCaptions(window_->ClassMenu())[2], "select * from A&&B");
  EXPECT_EQ(GetMenuState(window_->ClassMenu(), kCmdSelectFrom, MF_BYCOMMAND) & MF_GRAYED,
            static_cast<UINT>(MF_GRAYED));
}

TEST_F(MainWindowInProcess, ReadOnlyGreysExecuteMethodAndItsShortcutOpensNothing) {
  MessageBoxWatcher boxes;
  for (const bool readOnly : {false, true}) {
    window_.reset();
    Open(readOnly ? Strings{"-readonly"} : Strings{});
    Probe(*window_).RunStartUp();
    Settle();
    const UINT grey = GetMenuState(GetMenu(window_->Handle()), kCmdExecuteMethod, MF_BYCOMMAND);
    EXPECT_EQ(grey & MF_GRAYED, readOnly ? static_cast<UINT>(MF_GRAYED) : 0u) << readOnly;
    if (!readOnly) continue;
    SendMessageW(window_->Handle(), WM_COMMAND, MAKEWPARAM(kCmdExecuteMethod, 1), 0);
    EXPECT_EQ(Probe(*window_).StatusPanel(2), "Read-only mode: methods are not executed.");
  }
}

TEST_F(MainWindowInProcess, StartsWithoutArgumentsOnTheClassesTab) {
  MessageBoxWatcher boxes;
  Open();
  Probe(*window_).RunStartUp();
  Settle();
  EXPECT_EQ(Probe(*window_).ActiveTab(), 0);
  EXPECT_TRUE(Probe(*window_).ClassesLoaded());
  EXPECT_EQ(Probe(*window_).StatusPanel(0), "localhost");
  EXPECT_EQ(Probe(*window_).StatusPanel(1), "Classes: 2");
  EXPECT_EQ(Probe(*window_).QueryText(),
            "select Caption, HandleCount, ThreadCount from Win32_Process");

  // A later activation changes nothing.
  const int connects = fake_.ConnectCount();
  Probe(*window_).RunStartUp();
  EXPECT_EQ(fake_.ConnectCount(), connects);
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(MainWindowInProcess, SwitchesSetTheClientAndTheStartupQuery) {
  Open();
  Probe(*window_).ApplySwitches(ParseSwitches(
      {"-host: server ", "-HOST:ignored", "-namespace:", "-user:admin", "-pswd: secret ", "-kt:$10",
       "-query:  select * from Thing  ", "-hostname:x"}));
  EXPECT_EQ(Probe(*window_).Client()->Host, "server");
  EXPECT_EQ(Probe(*window_).Client()->Namespace, "root\\cimv2");
  EXPECT_EQ(Probe(*window_).Client()->User, "admin");
  EXPECT_EQ(Probe(*window_).Client()->Password, "secret");
  EXPECT_EQ(Probe(*window_).MonitorWindow(), 16);
  EXPECT_EQ(Probe(*window_).StartupQuery(), "select * from Thing");
  Probe(*window_).ApplySwitches(ParseSwitches({"-kt:letters"}));
  EXPECT_EQ(Probe(*window_).MonitorWindow(), 0);
}

TEST_F(MainWindowInProcess, StartupQueryRunsOnTheQueryTab) {
  MessageBoxWatcher boxes;
  Open({"-query:select Name, Size from Thing", "-host:"});
  Probe(*window_).RunStartUp();
  Settle();
  EXPECT_EQ(Probe(*window_).ActiveTab(), 1);
  EXPECT_FALSE(Probe(*window_).ClassesLoaded());
  EXPECT_EQ(Probe(*window_).StatusPanel(1), "");
  EXPECT_EQ(Probe(*window_).QueryText(), "select Name, Size from Thing");
  EXPECT_EQ(Cells(0), (Strings{"Alpha", "beta", "gamma"}));
  EXPECT_EQ(HeaderImage(0), 9);
  // The histories of earlier runs may follow (the settings file beside the program).
  ASSERT_FALSE(History().empty());
  EXPECT_EQ(History()[0], "select Name, Size from Thing");

  // Choosing the classes tab loads the class list once.
  Probe(*window_).SelectTab(0);
  Probe(*window_).OnTabChanged();
  Settle();
  EXPECT_TRUE(Probe(*window_).ClassesLoaded());
  EXPECT_EQ(Probe(*window_).StatusPanel(1), "Classes: 2");
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(MainWindowInProcess, FailedQueryReportsAndKeepsTheTable) {
  MessageBoxWatcher boxes;
  Open();
  RunQuery("select Name, Size from Thing");
  ASSERT_EQ(Cells(0).size(), 3u);
  RunQuery("select from where");
  const Strings texts = boxes.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].rfind("Error: ", 0), 0u) << texts[0];
  EXPECT_EQ(Probe(*window_).StatusPanel(2), texts[0]);
  EXPECT_EQ(Cells(0), (Strings{"Alpha", "beta", "gamma"}));
  EXPECT_EQ(History(), Strings{"select Name, Size from Thing"});
}

TEST_F(MainWindowInProcess, ColumnsAreRebuiltOnlyWhenTheirNumberChanges) {
  Open();
  RunQuery("select Name, Size from Thing");
  ASSERT_EQ(HeaderCount(), 2);
  Probe(*window_).OnResultColumnClick(1);
  EXPECT_EQ(HeaderImage(0), -1);
  EXPECT_EQ(HeaderImage(1), 9);
  EXPECT_EQ(Cells(1), (Strings{"9", "10", "100"}));
  Probe(*window_).OnResultColumnClick(1);
  EXPECT_EQ(HeaderImage(1), 8);
  EXPECT_EQ(Cells(1), (Strings{"100", "10", "9"}));
  ListView_SetColumnWidth(Probe(*window_).ResultTable(), 0, 77);

  // Same number of columns: widths, sort column and direction stay; captions follow.
  fake_.AddClass(kNs, "Pair", "", {"Label", "Count"});
  for (int count : {2, 30, 4}) {
    std::string label = "p";
    label += std::to_string(count);
    fake_.AddInstance(
        kNs, "Pair", {Property{"Label", Value::Text(label)}, Property{"Count", Value::Int(count)}});
  }
  RunQuery("select * from Pair");
  EXPECT_EQ(Probe(*window_).SortColumn(), 1);
  EXPECT_FALSE(Probe(*window_).SortAscending());
  EXPECT_EQ(ListView_GetColumnWidth(Probe(*window_).ResultTable(), 0), 77);
  EXPECT_EQ(HeaderImage(1), 8);
  EXPECT_EQ(Cells(1), (Strings{"30", "4", "2"}));
  wchar_t caption[64] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT;
  item.pszText = caption;
  item.cchTextMax = 64;
  Header_GetItem(ListView_GetHeader(Probe(*window_).ResultTable()), 0, &item);
  EXPECT_EQ(std::wstring(caption), L"Label");

  // Another number: rebuilt, first column ascending.
  RunQuery("select * from Thing");
  EXPECT_EQ(HeaderCount(), 3);
  EXPECT_EQ(Probe(*window_).SortColumn(), 0);
  EXPECT_TRUE(Probe(*window_).SortAscending());
  EXPECT_EQ(HeaderImage(0), 9);
  EXPECT_EQ(History(),
            (Strings{"select * from Thing", "select * from Pair", "select Name, Size from Thing"}));

  // No objects: the table empties, the headers stay.
  fake_.AddClass(kNs, "Empty", "", {"A"});
  RunQuery("select * from Empty");
  EXPECT_EQ(ListView_GetItemCount(Probe(*window_).ResultTable()), 0);
  EXPECT_EQ(HeaderCount(), 3);
}

TEST_F(MainWindowInProcess, EnterRunsOnlyANonBlankQuery) {
  Open();
  const struct {
    const char* text;
    bool runs;
  } cases[] = {{"", false}, {"  \t ", false}, {"select Name from Thing", true}};
  for (const auto& c : cases) {
    Probe(*window_).SetQueryText(c.text);
    wchar_t key = L'\r';
    Probe(*window_).OnQueryComboKey(key);
    EXPECT_EQ(key == 0, c.runs) << c.text;
    EXPECT_EQ(Probe(*window_).QueryRunning(), c.runs) << c.text;
    Settle();
  }
  wchar_t other = L'a';
  Probe(*window_).OnQueryComboKey(other);
  EXPECT_EQ(other, L'a');
}

TEST_F(MainWindowInProcess, RefreshFollowsTheActiveTab) {
  MessageBoxWatcher boxes;
  Open();
  Probe(*window_).SelectTab(1);
  Probe(*window_).SetQueryText("select Name from Thing");
  Probe(*window_).OnRefresh();
  Settle();
  EXPECT_EQ(Cells(0).size(), 3u);
  EXPECT_FALSE(Probe(*window_).ClassesLoaded());
  Probe(*window_).SelectTab(0);
  Probe(*window_).OnRefresh();
  Settle();
  EXPECT_TRUE(Probe(*window_).ClassesLoaded());
  EXPECT_TRUE(boxes.Texts().empty());
}

// The menu bar's export item follows the query's result table, on either tab.
TEST_F(MainWindowInProcess, ExportItemFollowsTheResultTableOnEitherTab) {
  MessageBoxWatcher boxes;
  Open();
  HMENU action = GetSubMenu(GetMenu(window_->Handle()), 0);
  auto exportEnabled = [&] {
    SendMessageW(window_->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(action), 0);
    return (GetMenuState(action, kCmdExport, MF_BYCOMMAND) & MF_GRAYED) == 0;
  };
  EXPECT_FALSE(exportEnabled());
  Probe(*window_).SelectTab(1);
  RunQuery("select Name from Thing");
  EXPECT_TRUE(exportEnabled());
  Probe(*window_).SelectTab(0);
  EXPECT_TRUE(exportEnabled());
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(MainWindowInProcess, UnavailableLocatorStopsTheStartupSequence) {
  MessageBoxWatcher boxes;
  fake_.SetLocatorUnregistered(true);
  Open({"-query:select Name from Thing"});
  Probe(*window_).RunStartUp();
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_TRUE(Probe(*window_).StartupQuery().empty());
  EXPECT_FALSE(Probe(*window_).ClassesLoaded());
  EXPECT_EQ(Probe(*window_).ActiveTab(), 0);
}

// Every request the user waits for runs on a worker: the fake counts the calls made from
// this, the window's, thread.
TEST_F(MainWindowInProcess, RequestsNeverCallWmiFromTheUiThread) {
  MessageBoxWatcher boxes;
  Open();
  fake_.WatchThread(std::this_thread::get_id());
  Probe(*window_).RunStartUp();  // the class list
  Settle();
  RunQuery("select * from Thing");
  EXPECT_EQ(Cells(0), (Strings{"Alpha", "beta", "gamma"}));
  framework::win32::Win32ListBox classes(Probe(*window_).ClassList());
  int thing = -1;
  for (int i = 0; i < classes.ItemCount(); ++i) {
    if (classes.ItemText(i) == "Thing") thing = i;
  }
  ASSERT_GE(thing, 0);
  classes.Select(thing);
  Probe(*window_).OnClassChosen();  // the property names
  Settle();
  EXPECT_EQ(Probe(*window_).ColumnNames(), (util::StringList{"Name", "Size", "Flag"}));
  ASSERT_TRUE(Pump([&] { return Probe(*window_).StatusPanel(2) == "Instances: 3"; }));
  framework::win32::Win32ListBox(Probe(*window_).InstanceList()).Select(2);
  Probe(*window_).OnInstanceChosen();  // one instance, by its path
  Settle();
  EXPECT_EQ(Probe(*window_).ResultValues(), (util::StringList{"gamma", "100", "0"}));
  EXPECT_EQ(fake_.CallsFromWatchedThread(), 0);
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(MainWindowInProcess, ResizingWidensTheValueColumnButNeverNarrowsTheNameColumn) {
  Open();
  SetWindowPos(window_->Handle(), nullptr, 0, 0, 900, 600, SWP_NOZORDER | SWP_NOMOVE);
  RECT client{};
  GetClientRect(Probe(*window_).PropertyGrid(), &client);
  const int w0 = ListView_GetColumnWidth(Probe(*window_).PropertyGrid(), 0);
  const int w2 = ListView_GetColumnWidth(Probe(*window_).PropertyGrid(), 2);
  EXPECT_GT(w2, 0);  // the type column
  EXPECT_EQ(ListView_GetColumnWidth(Probe(*window_).PropertyGrid(), 1),
            std::max(w0, static_cast<int>(client.right) - w0 - w2 - 5));

  ListView_SetColumnWidth(Probe(*window_).PropertyGrid(), 1, w0 - 10);
  SetWindowPos(window_->Handle(), nullptr, 0, 0, 1000, 650, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(ListView_GetColumnWidth(Probe(*window_).PropertyGrid(), 1), w0 - 10);
}

}  // namespace
}  // namespace brevane::app::win32

namespace brevane::app::win32 {
namespace {

TEST_F(MainWindowInProcess, DpiChangeScalesColumnsAndTheWindow) {
  Open();
  RunQuery("select Name, Size from Thing");
  const int grid0 = ListView_GetColumnWidth(Probe(*window_).PropertyGrid(), 0);
  const int query0 = ListView_GetColumnWidth(Probe(*window_).ResultTable(), 0);
  const UINT dpi = GetDpiForWindow(window_->Handle());
  RECT suggested{0, 0, 1000, 700};
  SendMessageW(window_->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi * 2, dpi * 2),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(ListView_GetColumnWidth(Probe(*window_).PropertyGrid(), 0), grid0 * 2);
  EXPECT_EQ(ListView_GetColumnWidth(Probe(*window_).ResultTable(), 0), query0 * 2);
  RECT bounds{};
  GetWindowRect(window_->Handle(), &bounds);
  EXPECT_EQ(bounds.right - bounds.left, 1000);
  EXPECT_EQ(Cells(0).size(), 3u);
}

// Throws, while armed, what no layer of the program expects.
class ThrowingBackend final : public wmi::Backend {
 public:
  explicit ThrowingBackend(std::shared_ptr<wmi::Backend> inner) : inner_(std::move(inner)) {}
  std::unique_ptr<wmi::Locator> CreateLocator() override {
    if (armed) throw 42;
    return inner_->CreateLocator();
  }
  std::unique_ptr<wmi::ThreadScope> EnterThread() override { return inner_->EnterThread(); }
  std::atomic<bool> armed{false};

 private:
  std::shared_ptr<wmi::Backend> inner_;
};

TEST_F(MainWindowInProcess, ClosesAfterAHandlerThrew) {
  MessageBoxWatcher boxes;
  const auto throwing = std::make_shared<ThrowingBackend>(fakeShared_);
  window_ = std::make_unique<MainWindow>(GetModuleHandleW(nullptr), throwing, Strings{});
  ASSERT_TRUE(window_->Create(SW_HIDE));
  Probe(*window_).SelectTab(1);
  Probe(*window_).SetQueryText("select Name from Thing");
  throwing->armed = true;
  SendMessageW(window_->Handle(), WM_COMMAND, kCmdRefresh, 0);
  Settle();  // the query's worker meets the failure and reports it
  throwing->armed = false;
  EXPECT_EQ(boxes.Texts(), Strings{"Error: unexpected failure"});

  const HWND handle = window_->Handle();
  SendMessageW(handle, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(handle));
  // The closed window ended the message loop it would have had; later tests run their own.
  MSG quit;
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

TEST_F(MainWindowInProcess, ListViewsOnlyBorrowTheWindowsImageLists) {
  MessageBoxWatcher boxes;
  Open();
  Probe(*window_).RunStartUp();
  const HIMAGELIST rowHeight = ListView_GetImageList(Probe(*window_).PropertyGrid(), LVSIL_SMALL);
  ASSERT_NE(rowHeight, nullptr);
  DestroyWindow(Probe(*window_).ResultTable());
  DestroyWindow(Probe(*window_).PropertyGrid());
  EXPECT_EQ(ImageList_GetImageCount(window_->Images()), 10);
  int width = 0, height = 0;
  EXPECT_TRUE(ImageList_GetIconSize(rowHeight, &width, &height));
  EXPECT_GT(height, 1);
}

}  // namespace
}  // namespace brevane::app::win32
