#include "framework/win32/atomic_file_writer.h"

#include <algorithm>

namespace brevane::framework::win32 {

namespace {

constexpr size_t kBufferSize = 64 * 1024;

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return L".";
  if (slash == 0 || (slash == 2 && path[1] == L':')) return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

[[noreturn]] void ThrowLastError() {
  const DWORD code = GetLastError();
  throw FileWriteError(code != ERROR_SUCCESS ? code : ERROR_GEN_FAILURE);
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::wstring target) : target_(std::move(target)) {
  const DWORD attributes = GetFileAttributesW(target_.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    throw FileWriteError(ERROR_ACCESS_DENIED);
  }
  wchar_t name[MAX_PATH + 1] = {};
  const std::wstring folder = FolderOf(target_);
  // Creates the empty file under a name no one else uses.
  if (GetTempFileNameW(folder.c_str(), L"brv", 0, name) == 0) ThrowLastError();
  temporary_ = name;
  file_ = CreateFileW(temporary_.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file_ == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    DeleteFileW(temporary_.c_str());
    throw FileWriteError(code);
  }
  buffer_.reserve(kBufferSize);
}

AtomicFileWriter::~AtomicFileWriter() {
  if (!committed_) Discard();
}

void AtomicFileWriter::Append(std::string_view text) {
  if (buffer_.size() + text.size() > kBufferSize) Flush();
  if (text.size() <= kBufferSize) {
    buffer_.append(text);
    return;
  }
  buffer_.assign(text);  // one large piece goes out on its own
  Flush();
}

void AtomicFileWriter::Flush() {
  size_t done = 0;
  while (done < buffer_.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(buffer_.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file_, buffer_.data() + done, chunk, &written, nullptr)) ThrowLastError();
    if (written == 0) throw FileWriteError(ERROR_WRITE_FAULT);
    done += written;
  }
  buffer_.clear();
}

void AtomicFileWriter::Commit() {
  Flush();
  if (!FlushFileBuffers(file_)) ThrowLastError();
  HANDLE file = file_;
  file_ = INVALID_HANDLE_VALUE;
  if (!CloseHandle(file)) ThrowLastError();
  // An existing file is replaced in place, which keeps its attributes and security; a new one
  // is a plain rename.
  const bool exists = GetFileAttributesW(target_.c_str()) != INVALID_FILE_ATTRIBUTES;
  const BOOL moved = exists
                         ? ReplaceFileW(target_.c_str(), temporary_.c_str(), nullptr,
                                        REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                         : MoveFileExW(temporary_.c_str(), target_.c_str(), MOVEFILE_WRITE_THROUGH);
  if (!moved) ThrowLastError();
  committed_ = true;
}

void AtomicFileWriter::Discard() noexcept {
  if (file_ != INVALID_HANDLE_VALUE) {
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
  }
  if (!temporary_.empty()) DeleteFileW(temporary_.c_str());
}

}  // namespace brevane::framework::win32
