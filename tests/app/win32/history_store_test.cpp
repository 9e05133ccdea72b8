#include "app/win32/history_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/win32/listening_peer.h"
#include "app/win32/temp_folder.h"
#include "framework/win32/encoding.h"
#include "framework/win32/profile_file.h"
#include "support/fake_list_controls.h"

namespace brevane::app::win32 {
namespace {

using testing::ReadWholeFile;
using testing::TempFolder;

const std::string kLocalHost = "\xE6\x9C\xAC\xE6\x9C\xBA";
const std::string kCyrillicQuery =
    "select * from Win32_Service where Name = '\xD0\xA1\xD0\xBB\xD1\x83\xD0\xB6\xD0\xB1\xD0\xB0'";
const std::string kLatin1Query = "select Name from Win32_Process where Name = 'caf\xC3\xA9'";

using testing::FakeComboBox;

struct Combos {
  FakeComboBox query;
  FakeComboBox search;
  FakeComboBox hosts;
  FakeComboBox namespaces;
  HistoryCombos Refs() { return {&query, &search, &hosts, &namespaces}; }
};

TEST(HistoryStoreTest, FileNameBesideTheProgram) {
  EXPECT_EQ(HistoryFilePath("C:\\Programs\\Brevane\\"), L"C:\\Programs\\Brevane\\brevane.ini");
}

TEST(HistoryStoreTest, RepresentableTextStaysInTheAnsiCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "needs a Western ANSI code page";
  TempFolder folder;
  const std::wstring path = folder.File(L"brevane.ini");
  Combos saved;
  saved.query.items = {kLatin1Query, "select Caption from Win32_Process"};
  saved.hosts.items = {"server1"};
  SaveHistoryFile(path, saved.Refs());

  const std::string bytes = ReadWholeFile(path);
  ASSERT_FALSE(bytes.empty());
  EXPECT_NE(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_NE(bytes.find("Query0=select Name from Win32_Process where Name = 'caf\xE9'"),
            std::string::npos);

  Combos loaded;
  loaded.hosts.items = {kLocalHost};
  LoadHistoryFile(path, loaded.Refs());
  EXPECT_EQ(loaded.query.items, saved.query.items);
  EXPECT_EQ(loaded.hosts.items, saved.hosts.items);
}

TEST(HistoryStoreTest, UnrepresentableTextTurnsTheFileIntoUtf16) {
  if (GetACP() == CP_UTF8) GTEST_SKIP() << "every text fits a UTF-8 code page";
  TempFolder folder;
  const std::wstring path = folder.File(L"brevane.ini");
  // A file an earlier version wrote in the ANSI code page, with a section we do not own.
  ASSERT_TRUE(testing::WriteBytes(
      path, "[Other]\r\nKeep=caf\xE9\r\n[QueryHistory]\r\nCount=1\r\nQuery0=old\r\n"));
  Combos saved;
  saved.query.items = {kCyrillicQuery, "select Name from Win32_Service"};
  saved.hosts.items = {"server1", kLocalHost};
  SaveHistoryFile(path, saved.Refs());

  const std::string bytes = ReadWholeFile(path);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");

  Combos loaded;
  loaded.hosts.items = {kLocalHost};
  LoadHistoryFile(path, loaded.Refs());
  EXPECT_EQ(loaded.query.items, saved.query.items);
  EXPECT_EQ(loaded.hosts.items, saved.hosts.items);
  framework::win32::ProfileFile file(path);
  const std::string* kept = file.ReadSection("Other").Find("Keep");
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(*kept, "caf\xC3\xA9");

  // The profile functions themselves read the converted file as Unicode.
  wchar_t buffer[256] = {};
  GetPrivateProfileStringW(L"HostHistory", L"Text1", L"", buffer, 256, path.c_str());
  EXPECT_EQ(framework::win32::WideToUtf8(buffer), kLocalHost);
}

TEST(HistoryStoreTest, Utf8FileEditedByHandIsReadAndRewrittenAsUtf16) {
  TempFolder folder;
  const std::wstring path = folder.File(L"brevane.ini");
  ASSERT_TRUE(testing::WriteBytes(
      path, "\xEF\xBB\xBF[NSpaceHistory]\r\nCount=1\r\nText0=root\\caf\xC3\xA9\r\n"));
  Combos loaded;
  LoadHistoryFile(path, loaded.Refs());
  EXPECT_EQ(loaded.namespaces.items, std::vector<std::string>{"root\\caf\xC3\xA9"});
  SaveHistoryFile(path, loaded.Refs());
  EXPECT_EQ(ReadWholeFile(path).substr(0, 2), "\xFF\xFE");
  Combos again;
  LoadHistoryFile(path, again.Refs());
  EXPECT_EQ(again.namespaces.items, loaded.namespaces.items);
}

TEST(HistoryStoreTest, UnusableFilesNeverStopLoadOrSave) {
  TempFolder folder;
  Combos combos;
  combos.query.items = {"select Name from Win32_Service"};
  combos.hosts.items = {kLocalHost};

  // A folder that does not exist: nothing is written, nothing is loaded.
  const std::wstring missing = folder.File(L"no such folder\\brevane.ini");
  SaveHistoryFile(missing, combos.Refs());
  Combos fromMissing;
  fromMissing.hosts.items = {kLocalHost};
  LoadHistoryFile(missing, fromMissing.Refs());
  EXPECT_TRUE(fromMissing.query.items.empty());
  EXPECT_EQ(fromMissing.hosts.items, std::vector<std::string>{kLocalHost});

  // A file another program holds open without sharing.
  const std::wstring locked = folder.File(L"locked.ini");
  ASSERT_TRUE(testing::WriteBytes(locked, "[QueryHistory]\r\nCount=1\r\nQuery0=kept\r\n"));
  HANDLE lock = CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  SaveHistoryFile(locked, combos.Refs());
  Combos fromLocked;
  LoadHistoryFile(locked, fromLocked.Refs());
  EXPECT_TRUE(fromLocked.query.items.empty());
  CloseHandle(lock);
  EXPECT_EQ(ReadWholeFile(locked), "[QueryHistory]\r\nCount=1\r\nQuery0=kept\r\n");
}

TEST(HistoryStoreTest, HandEditedHugeCountLoadsAtOnce) {
  TempFolder folder;
  const std::wstring path = folder.File(L"brevane.ini");
  std::string text = "[QueryHistory]\r\nCount=2147483647\r\nQuery0=a\r\nQuery1=b\r\nQuery7=c\r\n";
  text += "[Junk]\r\n";
  const std::string junk("=\0junk;[=]\r\n", 12);
  for (int i = 0; i < 200000; ++i) {
    text += 'x';
    text += std::to_string(i);
    text += junk;
  }
  ASSERT_TRUE(testing::WriteBytes(path, text));
  Combos loaded;
  const auto start = std::chrono::steady_clock::now();
  LoadHistoryFile(path, loaded.Refs());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(loaded.query.items, (std::vector<std::string>{"a", "b", "c"}));
}

TEST(HistoryStoreTest, UnwritableProgramFolderKeepsTheHistoriesInTheUsersFolder) {
  TempFolder folder;
  // A program folder that cannot be written (one that does not exist is such a folder even
  // for an administrator); the user's folder is not made yet.
  const HistoryFilePaths paths{folder.File(L"Program Files\\Brevane\\brevane.ini"),
                               folder.File(L"AppData\\Brevane\\brevane.ini")};
  Combos saved;
  saved.query.items = {kCyrillicQuery};
  saved.hosts.items = {"server01", kLocalHost};
  EXPECT_TRUE(SaveHistoryFiles(paths, saved.Refs()));
  EXPECT_TRUE(std::filesystem::exists(paths.userFile));

  Combos loaded;
  LoadHistoryFiles(paths, loaded.Refs());
  EXPECT_EQ(loaded.query.items, saved.query.items);
  EXPECT_EQ(loaded.hosts.items, saved.hosts.items);

  // Portable use: a writable program folder, no user file.
  const HistoryFilePaths portable{folder.File(L"brevane.ini"), folder.File(L"none\\brevane.ini")};
  EXPECT_TRUE(SaveHistoryFiles(portable, saved.Refs()));
  EXPECT_TRUE(std::filesystem::exists(portable.programFile));
  EXPECT_FALSE(std::filesystem::exists(portable.userFile));
  Combos fromPortable;
  LoadHistoryFiles(portable, fromPortable.Refs());
  EXPECT_EQ(fromPortable.hosts.items, saved.hosts.items);
}

}  // namespace
}  // namespace brevane::app::win32
