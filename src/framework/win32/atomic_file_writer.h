#pragma once
// A file written completely or not at all. The text goes into a new temporary file in the
// target's folder, which takes the target's place only once everything is written and on
// disk; until then, and on every failure, the target stays as it was and the temporary file
// is removed.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "util/text_sink.h"

namespace brevane::framework::win32 {

// A failed step, with the system's error code.
class FileWriteError : public std::runtime_error {
 public:
  explicit FileWriteError(DWORD code) : std::runtime_error("file write failed"), code_(code) {}
  DWORD Code() const { return code_; }

 private:
  DWORD code_;
};

class AtomicFileWriter final : public util::TextSink {
 public:
  // Creates the temporary file. Throws FileWriteError, also when the target is read-only (so
  // that no time is spent writing what could not be put in place).
  explicit AtomicFileWriter(std::wstring target);
  ~AtomicFileWriter() override;
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Throws FileWriteError (a full disk, a lost network share).
  void Append(std::string_view text) override;
  // Writes what is buffered, flushes the file to disk and puts it in the target's place,
  // keeping an existing target's attributes and security. Throws FileWriteError; the target is
  // then unchanged.
  void Commit();

  const std::wstring& TemporaryPath() const { return temporary_; }

 private:
  void Flush();
  void Discard() noexcept;

  std::wstring target_;
  std::wstring temporary_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
  std::string buffer_;
  bool committed_ = false;
};

}  // namespace brevane::framework::win32
