#pragma once
// A file written completely or not at all. The text goes into a new temporary file in the
// target's folder, which takes the target's place only once everything is written and on
// disk; until then, and on every failure, the target stays as it was and the temporary file
// is removed. Paths longer than MAX_PATH are written through their extended-length form.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "util/text_sink.h"

namespace brevane::framework::win32 {

// A failed step, with the system's error code.
class FileWriteError : public std::runtime_error {
 public:
  explicit FileWriteError(DWORD code, std::wstring keptFile = {})
      : std::runtime_error("file write failed"), code_(code), keptFile_(std::move(keptFile)) {}
  DWORD Code() const { return code_; }
  // Set when the system took the old file away but the new one could not take its name: the
  // written text is then kept here (in the form the user wrote the target), not deleted.
  const std::wstring& KeptFile() const { return keptFile_; }

 private:
  DWORD code_;
  std::wstring keptFile_;
};

// ReplaceFileW's shape: tests pass a stand-in that fails the way the system documents.
using ReplaceFileCall = BOOL(WINAPI*)(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup,
                                      DWORD flags, LPVOID exclude, LPVOID reserved);

class AtomicFileWriter final : public util::TextSink {
 public:
  // Creates the temporary file. Throws FileWriteError, also when the target is read-only (so
  // that no time is spent writing what could not be put in place).
  explicit AtomicFileWriter(std::wstring target, ReplaceFileCall replace = &ReplaceFileW);
  ~AtomicFileWriter() override;
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Throws FileWriteError (a full disk, a lost network share).
  void Append(std::string_view text) override;
  // Writes what is buffered, flushes the file to disk and puts it in the target's place,
  // keeping an existing target's attributes and security. Throws FileWriteError; the target
  // then holds its old content, or the new one is kept under the error's KeptFile.
  void Commit();

  const std::wstring& TemporaryPath() const { return temporary_; }

 private:
  void CreateTemporaryFile();
  void Flush();
  void Discard() noexcept;

  std::wstring target_;  // full, in extended-length form when it is long
  std::wstring temporary_;
  ReplaceFileCall replace_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
  std::string buffer_;
  bool committed_ = false;
};

}  // namespace brevane::framework::win32
