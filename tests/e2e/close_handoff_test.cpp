// End to end: the settings file, the close-time hand-off to the monitor and the window's
// position, with a copy of the real program in a folder of its own and the monitor's
// stand-in (kestrum_peer.exe) on the receiving end.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/close_request.h"
#include "app/win32/listening_peer.h"
#include "app/win32/temp_folder.h"
#include "e2e/launched_app.h"
#include "e2e/user_history_file.h"
#include "framework/win32/profile_file.h"
#include "framework/win32/user_folders.h"

namespace brevane::e2e {
namespace {

using namespace std::chrono_literals;
using testing::HexBytes;
using testing::ListeningPeer;
using testing::ReadWholeFile;
using testing::TempFolder;

const std::wstring kStartupQuery = L"select Name from Win32_Service";

class CloseHandoffTest : public LaunchedAppTest {
 protected:
  void SetUp() override { DeleteFileW(PlacementFileOfCopy().c_str()); }

  void TearDown() override {
    LaunchedAppTest::TearDown();
    DeleteFileW(PlacementFileOfCopy().c_str());
  }

  void LaunchCopy(const std::wstring& arguments) {
    LaunchRealCopy(folder_, arguments);
    if (IsSkipped() || HasFatalFailure()) return;
    WaitForStartupQuery();
  }

  void LaunchFromMonitor(const ListeningPeer& peer) {
    ASSERT_NE(peer.Handle(), 0) << "kestrum_peer.exe did not start";
    LaunchCopy(L"-kt:" + std::to_wstring(peer.Handle()) + L" \"-query:" + kStartupQuery + L"\"");
  }

  void SetQueryText(const std::wstring& text) {
    SendToProgram(queryCombo_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
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
    ASSERT_TRUE(app_->WaitForExit(kExitTimeout).has_value()) << "the program did not end";
    main_ = nullptr;
  }

  // Closes without a question and waits for the end.
  void Close() {
    PostMessageW(main_, WM_CLOSE, 0, 0);
    ExpectExit();
  }

  bool PlacementSaved() const {
    return GetFileAttributesW(PlacementFileOfCopy().c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  RECT WindowRect() const {
    RECT rect{};
    GetWindowRect(main_, &rect);
    return rect;
  }

  TempFolder folder_;
};

TEST_F(CloseHandoffTest, UnchangedQueryClosesWithoutAsking) {
  ListeningPeer peer(folder_, L"");
  LaunchFromMonitor(peer);
  if (IsSkipped() || HasFatalFailure()) return;
  SetQueryText(L"  " + kStartupQuery + L"\t");
  Close();
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
  LaunchCopy(L"\"-query:" + kStartupQuery + L"\"");
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
  LaunchCopy(L"\"-query:select State from Win32_Service\"");
  if (IsSkipped() || HasFatalFailure()) return;
  const std::vector<std::string> items = ComboItems(queryCombo_);
  EXPECT_NE(std::find(items.begin(), items.end(), "select Name from Win32_Service"), items.end());
  Close();
}

// Two runs: the histories and the position the first saves are what the second starts with,
// and the preset host is stored once, as Unicode, by both.
TEST_F(CloseHandoffTest, HistoriesPositionAndPresetHostSurviveARestart) {
  const std::string localHost = "\xE6\x9C\xAC\xE6\x9C\xBA";
  auto expectSettingsFile = [&](int run) {
    const framework::win32::ProfileText text =
        framework::win32::ReadProfileText(folder_.File(L"brevane.ini"));
    EXPECT_EQ(text.encoding, framework::win32::ProfileEncoding::Utf16) << "run " << run;
    const util::IniSection hosts = util::ReadIniSection(text.text, "HostHistory");
    ASSERT_NE(hosts.Find("Count"), nullptr);
    EXPECT_EQ(*hosts.Find("Count"), "1") << "run " << run;
    ASSERT_NE(hosts.Find("Text0"), nullptr);
    EXPECT_EQ(*hosts.Find("Text0"), localHost);
    for (const char* section : {"QueryHistory", "SearchHistory", "NSpaceHistory"}) {
      EXPECT_NE(util::ReadIniSection(text.text, section).Find("Count"), nullptr) << section;
    }
  };
  LaunchCopy(L"\"-query:" + kStartupQuery + L"\"");
  if (IsSkipped() || HasFatalFailure()) return;
  SetWindowPos(main_, nullptr, 150, 120, 800, 560, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(Sync(main_, 5s));
  Close();
  expectSettingsFile(0);

  LaunchCopy(L"\"-query:select State from Win32_Service\"");
  if (IsSkipped() || HasFatalFailure()) return;
  const std::vector<std::string> items = ComboItems(queryCombo_);
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items.front(), "select State from Win32_Service");
  EXPECT_NE(std::find(items.begin(), items.end(), "select Name from Win32_Service"), items.end());
  const RECT rect = WindowRect();
  EXPECT_EQ(rect.left, 150);
  EXPECT_EQ(rect.top, 120);
  EXPECT_EQ(rect.right - rect.left, 800);
  EXPECT_EQ(rect.bottom - rect.top, 560);
  Close();
  expectSettingsFile(1);
}

TEST_F(CloseHandoffTest, OtherPixelsPerInchRestoresNoPosition) {
  CreateDirectoryW((framework::win32::RoamingAppDataFolder() + L"\\Brevane").c_str(), nullptr);
  ASSERT_TRUE(WritePrivateProfileStringW(L"TMainWin", L"NormPos", L"150,120,950,680",
                                         PlacementFileOfCopy().c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(L"TMainWin", L"PixelsPerInch", L"1",
                                         PlacementFileOfCopy().c_str()));
  LaunchCopy(L"\"-query:" + kStartupQuery + L"\"");
  if (IsSkipped() || HasFatalFailure()) return;
  EXPECT_NE(WindowRect().left, 150);
  Close();
}

}  // namespace
}  // namespace brevane::e2e
