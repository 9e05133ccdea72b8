#include "framework/win32/atomic_file_writer.h"

#include <algorithm>

#include "framework/extended_path.h"

namespace brevane::framework::win32 {

namespace {

constexpr size_t kBufferSize = 64 * 1024;
// "brv" + 8 hex digits + ".tmp", beside the target.
constexpr size_t kTemporaryNameLength = 15;
constexpr int kTemporaryNameAttempts = 32;

[[noreturn]] void ThrowLastError() {
  const DWORD code = GetLastError();
  throw FileWriteError(code != ERROR_SUCCESS ? code : ERROR_GEN_FAILURE);
}

// The target as a full path; in the extended-length form when it or the temporary file beside
// it would not fit in MAX_PATH.
std::wstring FullTargetPath(const std::wstring& target) {
  const DWORD needed = GetFullPathNameW(target.c_str(), 0, nullptr, nullptr);
  if (needed == 0) ThrowLastError();
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(target.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) ThrowLastError();
  full.resize(length);
  if (full.size() + 1 + kTemporaryNameLength >= MAX_PATH) return ExtendedLengthPath(full);
  return full;
}

std::wstring FolderOf(const std::wstring& fullPath) {
  const size_t slash = fullPath.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : fullPath.substr(0, slash + 1);
}

// A name unlikely to be taken; CREATE_NEW settles whether it is.
std::wstring TemporaryName(int attempt) {
  LARGE_INTEGER stamp{};
  QueryPerformanceCounter(&stamp);
  unsigned long long mixed = static_cast<unsigned long long>(stamp.QuadPart) ^
                             (static_cast<unsigned long long>(GetCurrentProcessId()) << 20) ^
                             (static_cast<unsigned long long>(attempt) * 0x9E3779B97F4A7C15ull);
  mixed ^= mixed >> 29;
  std::wstring name = L"brv00000000.tmp";
  for (size_t digit = 10; digit >= 3; --digit, mixed >>= 4)
    name[digit] = L"0123456789abcdef"[mixed & 0xF];
  return name;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::wstring target, ReplaceFileCall replace)
    : target_(FullTargetPath(target)), replace_(replace) {
  const DWORD attributes = GetFileAttributesW(target_.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    throw FileWriteError(ERROR_ACCESS_DENIED);
  }
  CreateTemporaryFile();
  buffer_.reserve(kBufferSize);
}

void AtomicFileWriter::CreateTemporaryFile() {
  const std::wstring folder = FolderOf(target_);
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    std::wstring path = folder + TemporaryName(attempt);
    file_ = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
    if (file_ != INVALID_HANDLE_VALUE) {
      temporary_ = std::move(path);
      return;
    }
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) throw FileWriteError(code);
  }
  throw FileWriteError(ERROR_FILE_EXISTS);
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
  // A new file is a plain rename.
  if (GetFileAttributesW(target_.c_str()) == INVALID_FILE_ATTRIBUTES) {
    if (!MoveFileExW(temporary_.c_str(), target_.c_str(), MOVEFILE_WRITE_THROUGH)) ThrowLastError();
    committed_ = true;
    return;
  }
  // An existing file is replaced in place, which keeps its attributes and security.
  if (replace_(target_.c_str(), temporary_.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
               nullptr, nullptr)) {
    committed_ = true;
    return;
  }
  const DWORD code = GetLastError();
  if (code != ERROR_UNABLE_TO_MOVE_REPLACEMENT && code != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
    throw FileWriteError(code != ERROR_SUCCESS ? code : ERROR_GEN_FAILURE);
  // The old file has left the target's name (deleted, or renamed to a name the system chose):
  // the temporary file is now the only copy under our control. It takes the name itself, or
  // stays where it is and is named in the error; deleting it would leave nothing.
  committed_ = true;
  if (MoveFileExW(temporary_.c_str(), target_.c_str(), MOVEFILE_WRITE_THROUGH)) return;
  throw FileWriteError(code, DisplayPath(temporary_));
}

void AtomicFileWriter::Discard() noexcept {
  if (file_ != INVALID_HANDLE_VALUE) {
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
  }
  if (!temporary_.empty()) DeleteFileW(temporary_.c_str());
}

}  // namespace brevane::framework::win32
