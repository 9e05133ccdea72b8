#include "framework/win32/atomic_file_writer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/win32/listening_peer.h"
#include "app/win32/temp_folder.h"

namespace brevane::framework::win32 {
namespace {

using testing::ReadWholeFile;

void WriteText(const std::wstring& path, const std::string& text) {
  AtomicFileWriter file(path);
  file.Append(text);
  file.Commit();
}

// Stand-ins for ReplaceFileW, each failing with the side effect its documentation gives.
#define FAKE_REPLACE(name, effect, error)                                       \
  BOOL WINAPI name(LPCWSTR replaced, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID) { \
    effect;                                                                     \
    SetLastError(error);                                                        \
    return FALSE;                                                               \
  }
// 1176 without a backup name: the old file no longer exists.
FAKE_REPLACE(RemovedThenFailed, DeleteFileW(replaced), ERROR_UNABLE_TO_MOVE_REPLACEMENT)
// 1177: the old file lives on under another name.
FAKE_REPLACE(MovedAsideThenFailed, MoveFileW(replaced, (std::wstring(replaced) + L".1").c_str()),
             ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
// 1176, and then the name cannot be taken either.
FAKE_REPLACE(RemovedThenBlocked,
             (void)(DeleteFileW(replaced) && CreateDirectoryW(replaced, nullptr)),
             ERROR_UNABLE_TO_MOVE_REPLACEMENT)
// 1175: both files keep their names.
FAKE_REPLACE(NothingDone, (void)replaced, ERROR_UNABLE_TO_REMOVE_REPLACED)

TEST(AtomicFileWriterTest, AFailedReplaceNeverLosesBothFiles) {
  struct Case {
    const char* name;
    ReplaceFileCall replace;
    DWORD error;         // 0: no error
    std::string target;  // what the target holds afterwards
    bool keptBeside;     // the new text is kept under the name the error gives
  };
  const Case cases[] = {
      {"1176", &RemovedThenFailed, 0, "new", false},
      {"1177", &MovedAsideThenFailed, 0, "new", false},
      {"1176, name taken", &RemovedThenBlocked, ERROR_UNABLE_TO_MOVE_REPLACEMENT, "", true},
      {"1175", &NothingDone, ERROR_UNABLE_TO_REMOVE_REPLACED, "old", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    brevane::testing::TempFolder folder;
    const std::wstring target = folder.File(L"out.csv");
    WriteText(target, "old");
    DWORD error = 0;
    std::wstring kept;
    try {
      AtomicFileWriter file(target, c.replace);
      file.Append("new");
      file.Commit();
    } catch (const FileWriteError& failure) {
      error = failure.Code();
      kept = failure.KeptFile();
    }
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(ReadWholeFile(target), c.target);
    EXPECT_EQ(!kept.empty(), c.keptBeside);
    if (c.keptBeside) {
      EXPECT_EQ(ReadWholeFile(kept), "new");
    }
  }
}

TEST(AtomicFileWriterTest, WritesIntoFoldersBeyondMaxPath) {
  brevane::testing::TempFolder folder;
  // The extended form from the start: the folders are made and removed past MAX_PATH.
  std::wstring deep = L"\\\\?\\" + folder.Path();
  std::vector<std::wstring> made;
  while (deep.size() < MAX_PATH + 20) {
    deep += L"\\" + std::wstring(40, L'd');
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    made.push_back(deep);
  }
  const std::wstring target = deep.substr(4) + L"\\result.csv";  // as the dialog gives it
  WriteText(target, "first");
  WriteText(target, "second");  // the replace, too
  const std::wstring stored = deep + L"\\result.csv";
  EXPECT_EQ(ReadWholeFile(stored), "second");
  DeleteFileW(stored.c_str());
  for (auto it = made.rbegin(); it != made.rend(); ++it) RemoveDirectoryW(it->c_str());
}

}  // namespace
}  // namespace brevane::framework::win32
