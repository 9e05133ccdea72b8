// End to end: the settings file, the close-time hand-off to the monitor and the window's
// position, with a copy of the real program in a folder of its own and the monitor's
// stand-in (kestrum_peer.exe) on the receiving end.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/close_request.h"
#include "app/win32/command_ids.h"
#include "app/win32/listening_peer.h"
#include "app/win32/temp_folder.h"
#include "e2e/e2e_driver.h"
#include "e2e/user_history_file.h"
#include "framework/win32/profile_file.h"

namespace brevane::e2e {
namespace {

using namespace std::chrono_literals;
using testing::HexBytes;
using testing::ListeningPeer;
using testing::ReadWholeFile;
using testing::TempFolder;

constexpr auto kStartTimeout = 30s;
constexpr auto kQueryTimeout = 60s;
constexpr auto kExitTimeout = 15s;
const std::wstring kStartupQuery = L"select Name from Win32_Service";

std::wstring RoamingAppData() {
  PWSTR path = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &path))) folder = path;
  CoTaskMemFree(path);
  return folder;
}

class CloseHandoffTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring exe = ExeFromEnvironment("BREVANE_EXE");
    if (exe.empty()) GTEST_SKIP() << "BREVANE_EXE is not set";
    // A program name of its own keeps the placement file of this test apart from others.
    LARGE_INTEGER stamp{};
    QueryPerformanceCounter(&stamp);
    name_ = L"brevane_e2e_" + std::to_wstring(stamp.QuadPart % 1000000000);
    copy_ = folder_.File(name_ + L".exe");
    ASSERT_TRUE(CopyFileW(exe.c_str(), copy_.c_str(), FALSE));
    placementFile_ = RoamingAppData() + L"\\Brevane\\" + name_ + L".INI";
  }

  void TearDown() override {
    if (!placementFile_.empty()) DeleteFileW(placementFile_.c_str());
  }

  // Starts the copy and waits until the start-up query has filled the table; skips when
  // WMI cannot answer here.
  void Launch(const std::wstring& arguments) {
    app_ = std::make_unique<AppProcess>();
    ASSERT_TRUE(app_->Start(copy_, arguments));
    main_ = app_->WaitForTopWindow(L"Brevane", kStartTimeout);
    ASSERT_NE(main_, nullptr) << "no window captioned Brevane";
    query2Combo_ = GetDlgItem(main_, app::win32::kIdQuery2Combo);
    HWND listView = GetDlgItem(main_, app::win32::kIdListView1);
    ASSERT_TRUE(WaitUntil(
        [&] {
          return (ListViewRowCount(listView) > 0 && !QueryRunning(main_)) ||
                 app_->FindMessageBox() != nullptr;
        },
        kQueryTimeout));
    if (HWND box = app_->FindMessageBox()) {
      const std::string text = MessageBoxText(box);
      DismissMessageBox(box);
      GTEST_SKIP() << "the start-up query failed here: " << text;
    }
  }

  void LaunchFromMonitor(const ListeningPeer& peer) {
    ASSERT_NE(peer.Handle(), 0) << "kestrum_peer.exe did not start";
    Launch(L"-kt:" + std::to_wstring(peer.Handle()) + L" \"-query:" + kStartupQuery + L"\"");
  }

  void SetQueryText(const std::wstring& text) {
    SendMessageW(query2Combo_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }

  // Waits for the next question, checks its text and answers it.
  void Answer(const std::string& expected, bool yes) {
    HWND box = app_->WaitForMessageBox(10s);
    ASSERT_NE(box, nullptr) << "no question for: " << expected;
    EXPECT_EQ(MessageBoxText(box), expected);
    const int button = yes ? IDYES : IDNO;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 10s));
  }

  void ExpectExit() {
    const auto code = app_->WaitForExit(kExitTimeout);
    ASSERT_TRUE(code.has_value()) << "the program did not end";
  }

  bool PlacementSaved() const {
    return GetFileAttributesW(placementFile_.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  RECT WindowRect() const {
    RECT rect{};
    GetWindowRect(main_, &rect);
    return rect;
  }

  TempFolder folder_;
  std::wstring name_;
  std::wstring copy_;
  std::wstring placementFile_;
  std::unique_ptr<AppProcess> app_;
  HWND main_ = nullptr;
  HWND query2Combo_ = nullptr;
};

TEST_F(CloseHandoffTest, UnchangedQueryClosesWithoutAsking) {
  ListeningPeer peer(folder_, L"");
  LaunchFromMonitor(peer);
  if (IsSkipped() || HasFatalFailure()) return;
  SetQueryText(L"  " + kStartupQuery + L"\t");
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ExpectExit();
  EXPECT_EQ(peer.Record(), "");
  EXPECT_TRUE(PlacementSaved());
}

TEST_F(CloseHandoffTest, EditedQueryIsOfferedAndSentTrimmedWithItsZeroByte) {
  ListeningPeer peer(folder_, L"");
  LaunchFromMonitor(peer);
  if (IsSkipped() || HasFatalFailure()) return;
  const std::string sent = "select Name, State from Win32_Service";
  SetQueryText(L"  select Name, State from Win32_Service \r\n");
  PostMessageW(main_, WM_CLOSE, 0, 0);
  Answer(app::kSendQueryQuestion, true);
  ExpectExit();
  peer.WaitForExit();
  EXPECT_EQ(peer.Record(), "dwData=107355 cbData=" + std::to_string(sent.size() + 1) +
                               " wParamIsWindow=1 bytes=" + HexBytes(sent) + "00\n");
}

TEST_F(CloseHandoffTest, StarQueryYesKeepsTheWindowOpenAndWritesNoPosition) {
  ListeningPeer peer(folder_, L"");
  LaunchFromMonitor(peer);
  if (IsSkipped() || HasFatalFailure()) return;
  SetQueryText(L"SELECT   * FROM Win32_Service");
  PostMessageW(main_, WM_CLOSE, 0, 0);
  Answer(app::kSendQueryQuestion, true);
  Answer(app::kStarQueryQuestion, true);
  EXPECT_TRUE(Sync(main_, 5s));
  EXPECT_TRUE(app_->Running());
  EXPECT_EQ(peer.Record(), "");
  EXPECT_FALSE(PlacementSaved()) << "a refused close must not save the position";
  // The histories are saved at every close request, also a refused one.
  const framework::win32::ProfileText saved =
      framework::win32::ReadProfileText(folder_.File(L"brevane.ini"));
  EXPECT_NE(util::ReadIniSection(saved.text, "QueryHistory").Find("Count"), nullptr);

  // The next close request goes through every step again; No to the warning sends.
  PostMessageW(main_, WM_CLOSE, 0, 0);
  Answer(app::kSendQueryQuestion, true);
  Answer(app::kStarQueryQuestion, false);
  ExpectExit();
  peer.WaitForExit();
  EXPECT_EQ(peer.Record(), "dwData=107355 cbData=30 wParamIsWindow=1 bytes=" +
                               HexBytes("SELECT   * FROM Win32_Service") + "00\n");
  EXPECT_TRUE(PlacementSaved());
}

TEST_F(CloseHandoffTest, MonitorThatNeverAnswersCostsAboutTwoSeconds) {
  ListeningPeer peer(folder_, L"--hang 8000");
  LaunchFromMonitor(peer);
  if (IsSkipped() || HasFatalFailure()) return;
  SetQueryText(L"select State from Win32_Service");
  PostMessageW(main_, WM_CLOSE, 0, 0);
  Answer(app::kSendQueryQuestion, true);
  const auto start = std::chrono::steady_clock::now();
  ExpectExit();
  // The 2 s time-out plus the process's own end under Wine.
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  EXPECT_NE(peer.Record().find("cbData=32 "), std::string::npos);
}

TEST_F(CloseHandoffTest, UnwritableSettingsFileClosesWithoutAnyMessage) {
  // A folder where the file should be: nothing can read or write it (the tests run as an
  // administrator, for whom a read-only folder would not stop the write).
  ASSERT_TRUE(CreateDirectoryW(folder_.File(L"brevane.ini").c_str(), nullptr));
  const UserHistoryFile userFile;
  Launch(L"\"-query:" + kStartupQuery + L"\"");
  if (IsSkipped() || HasFatalFailure()) return;
  SetQueryText(L"select Name, State from Win32_Service");
  PostMessageW(main_, WM_CLOSE, 0, 0);
  bool messageShown = false;
  WaitUntil(
      [&] {
        messageShown = messageShown || app_->FindMessageBox() != nullptr;
        return !app_->Running();
      },
      kExitTimeout);
  EXPECT_FALSE(messageShown);
  ExpectExit();
  // The histories went to the user's own folder instead, and the next start reads them there.
  const util::IniSection queries = userFile.Section("QueryHistory");
  ASSERT_NE(queries.Find("Query0"), nullptr);
  EXPECT_EQ(*queries.Find("Query0"), "select Name from Win32_Service");
  Launch(L"\"-query:select State from Win32_Service\"");
  if (IsSkipped() || HasFatalFailure()) return;
  const std::vector<std::string> items = ComboItems(query2Combo_);
  EXPECT_NE(std::find(items.begin(), items.end(), "select Name from Win32_Service"), items.end());
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ExpectExit();
}

TEST_F(CloseHandoffTest, QueryHistoryAndPositionSurviveARestart) {
  Launch(L"\"-query:" + kStartupQuery + L"\"");
  if (IsSkipped() || HasFatalFailure()) return;
  SetWindowPos(main_, nullptr, 150, 120, 800, 560, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(Sync(main_, 5s));
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ExpectExit();

  Launch(L"\"-query:select State from Win32_Service\"");
  if (IsSkipped() || HasFatalFailure()) return;
  const std::vector<std::string> items = ComboItems(query2Combo_);
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items.front(), "select State from Win32_Service");
  EXPECT_NE(std::find(items.begin(), items.end(), "select Name from Win32_Service"), items.end());
  const RECT rect = WindowRect();
  EXPECT_EQ(rect.left, 150);
  EXPECT_EQ(rect.top, 120);
  EXPECT_EQ(rect.right - rect.left, 800);
  EXPECT_EQ(rect.bottom - rect.top, 560);
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ExpectExit();
}

TEST_F(CloseHandoffTest, PresetHostIsStoredAsUnicodeAndNotDuplicated) {
  const std::string localHost = "\xE6\x9C\xAC\xE6\x9C\xBA";
  const std::wstring settings = folder_.File(L"brevane.ini");
  for (int run = 0; run < 2; ++run) {
    Launch(L"\"-query:" + kStartupQuery + L"\"");
    if (IsSkipped() || HasFatalFailure()) return;
    PostMessageW(main_, WM_CLOSE, 0, 0);
    ExpectExit();
    const framework::win32::ProfileText text = framework::win32::ReadProfileText(settings);
    EXPECT_EQ(text.encoding, framework::win32::ProfileEncoding::Utf16) << "run " << run;
    const util::IniSection hosts = util::ReadIniSection(text.text, "HostHistory");
    ASSERT_NE(hosts.Find("Count"), nullptr);
    EXPECT_EQ(*hosts.Find("Count"), "1") << "run " << run;
    ASSERT_NE(hosts.Find("Text0"), nullptr);
    EXPECT_EQ(*hosts.Find("Text0"), localHost);
    for (const char* section : {"QueryHistory", "SearchHistory", "NSpaceHistory"}) {
      EXPECT_NE(util::ReadIniSection(text.text, section).Find("Count"), nullptr) << section;
    }
  }
}

TEST_F(CloseHandoffTest, OtherPixelsPerInchRestoresNoPosition) {
  CreateDirectoryW((RoamingAppData() + L"\\Brevane").c_str(), nullptr);
  ASSERT_TRUE(WritePrivateProfileStringW(L"TMainWin", L"NormPos", L"150,120,950,680",
                                         placementFile_.c_str()));
  ASSERT_TRUE(
      WritePrivateProfileStringW(L"TMainWin", L"PixelsPerInch", L"1", placementFile_.c_str()));
  Launch(L"\"-query:" + kStartupQuery + L"\"");
  if (IsSkipped() || HasFatalFailure()) return;
  EXPECT_NE(WindowRect().left, 150);
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ExpectExit();
}

}  // namespace
}  // namespace brevane::e2e
