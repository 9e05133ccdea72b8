#pragma once
// Reading INI text the way the platform's profile reader sees it, so that files written by
// the profile functions (or edited by hand) read back the same here and under Windows.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace brevane::util {

struct IniEntry {
  std::string key;    // blanks around it removed
  std::string value;  // blanks around it removed, quotes kept: see ProfileValue
};

// The keys of one section, each key once (the first occurrence wins), in file order.
class IniSection {
 public:
  // Adds the entry unless a key of the same name (ASCII case-insensitive) is already there.
  void Add(std::string key, std::string value);
  // The raw value of a key, or nullptr when the section has no such key.
  const std::string* Find(std::string_view key) const;
  const std::vector<IniEntry>& Entries() const { return entries_; }
  bool Empty() const { return entries_.empty(); }

 private:
  std::vector<IniEntry> entries_;
  std::unordered_set<std::string> lowerKeys_;  // for the first-occurrence check
};

// The section named `section` (ASCII case-insensitive; the first section of that name wins,
// later ones are ignored) of INI text in UTF-8. Lines are split at LF; CR and blanks around
// names and values are dropped; lines without "=" and comment lines (";") are ignored; a NUL
// byte ends its line, as it would end the C string the platform hands back. Linear in the
// size of the text whatever it holds.
IniSection ReadIniSection(std::string_view text, std::string_view section);

// The longest value the profile reader hands back: its buffer holds 2048 characters with the
// terminating zero.
inline constexpr size_t kProfileValueMaxChars = 2047;

// A raw value as the profile reader returns it: one pair of enclosing quotes (both single or
// both double) dropped, then cut to at most `maxChars` characters, never inside a UTF-8
// sequence.
std::string ProfileValue(std::string_view rawValue, size_t maxChars = kProfileValueMaxChars);

// The form in which to write a value so that reading the line back (ReadIniSection, then
// ProfileValue) gives it back: a value that begins and ends with the same quote character, or
// that begins or ends with a blank, gets one more pair of double quotes.
std::string ProfileWriteForm(std::string_view value);

// Cuts text to at most `maxChars` UTF-8 characters without splitting a sequence. Bytes that
// are not valid UTF-8 count as one character each.
std::string CutToChars(std::string_view text, size_t maxChars);

}  // namespace brevane::util
