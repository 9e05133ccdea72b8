#include "framework/win32/profile_file.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "framework/win32/encoding.h"

namespace brevane::framework::win32 {

namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (Valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

[[noreturn]] void Fail(const char* what) {
  throw std::runtime_error(std::string(what) + " (error " + std::to_string(GetLastError()) + ")");
}

// Missing file: nothing. Any other failure throws.
std::optional<std::string> ReadFileBytes(const std::wstring& path) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    Fail("cannot open the settings file");
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) Fail("cannot size the settings file");
  if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > kMaxProfileFileBytes) {
    throw std::runtime_error("the settings file is too large");
  }
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
    if (!ReadFile(file.Get(), bytes.data() + done, chunk, &got, nullptr)) {
      Fail("cannot read the settings file");
    }
    if (got == 0) break;  // the file shrank meanwhile
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

std::wstring Utf16FromBytes(std::string_view bytes, bool bigEndian) {
  std::wstring text(bytes.size() / 2, L'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  return text;
}

ProfileText Decode(std::string_view bytes) {
  const std::string_view start = bytes.substr(0, 3);
  if (start.substr(0, 2) == "\xFF\xFE") {
    return {WideToUtf8(Utf16FromBytes(bytes.substr(2), false)), ProfileEncoding::Utf16};
  }
  if (start.substr(0, 2) == "\xFE\xFF") {
    return {WideToUtf8(Utf16FromBytes(bytes.substr(2), true)), ProfileEncoding::Utf16};
  }
  if (start == "\xEF\xBB\xBF") return {std::string(bytes.substr(3)), ProfileEncoding::Utf8};
  return {AnsiToUtf8(bytes), ProfileEncoding::Ansi};
}

bool FitsAnsiCodePage(std::string_view text) {
  bool lossless = true;
  Utf8ToAnsi(text, &lossless);
  return lossless;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD wrote = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
    if (!WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) return false;
    done += wrote;
  }
  return true;
}

// The profile functions keep files they have seen; make them read ours afresh.
void FlushProfileCache(const std::wstring& path) {
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
}

}  // namespace

ProfileText ReadProfileText(const std::wstring& path) {
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) return {};
  return Decode(*bytes);
}

util::IniSection ProfileFile::ReadSection(std::string_view section) {
  if (!cache_) {
    cache_ = ReadProfileText(path_);
    encoding_ = cache_->encoding;
  }
  return util::ReadIniSection(cache_->text, section);
}

void ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
  if (!encoding_) encoding_ = ReadProfileText(path_).encoding;
  // The profile functions know no UTF-8 file: they would write ANSI bytes into it.
  const bool fitsAnsi =
      FitsAnsiCodePage(section) && FitsAnsiCodePage(key) && FitsAnsiCodePage(value);
  if (*encoding_ == ProfileEncoding::Utf8 || (*encoding_ != ProfileEncoding::Utf16 && !fitsAnsi)) {
    ConvertToUtf16();
  }
  cache_.reset();
  if (!WritePrivateProfileStringW(Utf8ToWide(section).c_str(), Utf8ToWide(key).c_str(),
                                  Utf8ToWide(value).c_str(), path_.c_str())) {
    encoding_.reset();
    Fail("cannot write the settings file");
  }
  // A new file is created in the ANSI code page.
  if (*encoding_ == ProfileEncoding::Missing) encoding_ = ProfileEncoding::Ansi;
}

void ProfileFile::ConvertToUtf16() {
  FlushProfileCache(path_);
  const ProfileText current = ReadProfileText(path_);
  const std::wstring text = Utf8ToWide(current.text);
  std::string bytes = "\xFF\xFE";
  bytes.reserve(2 + text.size() * 2);
  for (wchar_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>((c >> 8) & 0xFF);
  }
  // Written beside the file and moved over it, so a failure leaves the old file whole.
  const std::wstring temporary = path_ + L".new";
  bool written = false;
  {
    FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) Fail("cannot create the settings file");
    written = WriteAll(file.Get(), bytes);
  }
  if (!written || !MoveFileExW(temporary.c_str(), path_.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    SetLastError(error);
    Fail("cannot replace the settings file");
  }
  FlushProfileCache(path_);
  encoding_ = ProfileEncoding::Utf16;
}

}  // namespace brevane::framework::win32
