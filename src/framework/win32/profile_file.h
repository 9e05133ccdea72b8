#pragma once
// A profile (INI) file on disk. Keys are written through the platform's profile functions so
// that the file stays what other readers expect; sections are read by our own parser, which
// reads the whole section at once and accepts both encodings the profile functions use.
#include <optional>
#include <string>
#include <string_view>

#include "util/profile_store.h"

namespace brevane::framework::win32 {

// Larger files are refused as unreadable rather than loaded into memory.
inline constexpr unsigned long long kMaxProfileFileBytes = 256ull << 20;

enum class ProfileEncoding { Missing, Ansi, Utf8, Utf16 };

// The file's text in UTF-8 and the encoding it was stored in. A missing file is empty.
// Throws std::runtime_error when the file exists but cannot be read.
struct ProfileText {
  std::string text;
  ProfileEncoding encoding = ProfileEncoding::Missing;
};
ProfileText ReadProfileText(const std::wstring& path);

class ProfileFile final : public util::ProfileStore {
 public:
  explicit ProfileFile(std::wstring path) : path_(std::move(path)) {}

  util::IniSection ReadSection(std::string_view section) override;
  // Stays in the system's ANSI code page while everything written can be represented there;
  // the first text that cannot turns the file into UTF-16 (with its byte order mark), which
  // the profile functions then keep writing natively.
  void WriteString(std::string_view section, std::string_view key, std::string_view value) override;

  const std::wstring& Path() const { return path_; }

 private:
  void ConvertToUtf16();

  std::wstring path_;
  std::optional<ProfileText> cache_;  // the file as last read; dropped by every write
  // The file's encoding as known since the last read or conversion; writes keep it.
  std::optional<ProfileEncoding> encoding_;
};

}  // namespace brevane::framework::win32
