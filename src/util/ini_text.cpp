#include "util/ini_text.h"

#include "util/text.h"

namespace brevane::util {

namespace {

bool IsIniBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string_view TrimIniBlanks(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsIniBlank(text[begin])) ++begin;
  while (end > begin && IsIniBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The length of the UTF-8 sequence at `pos`, or 1 for a byte that does not start a valid one.
size_t Utf8SequenceLength(std::string_view text, size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else {
    return 1;
  }
  if (pos + length > text.size()) return 1;
  for (size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

// Where a section header line names a section, that name; otherwise nothing.
bool SectionHeaderName(std::string_view line, std::string_view* name) {
  if (line.empty() || line.front() != '[') return false;
  const size_t close = line.rfind(']');
  if (close == std::string_view::npos || close == 0) return false;
  *name = TrimIniBlanks(line.substr(1, close - 1));
  return true;
}

}  // namespace

void IniSection::Add(std::string key, std::string value) {
  if (!lowerKeys_.insert(AsciiLower(key)).second) return;
  entries_.push_back({std::move(key), std::move(value)});
}

const std::string* IniSection::Find(std::string_view key) const {
  for (const IniEntry& entry : entries_) {
    if (EqualsAsciiNoCase(entry.key, key)) return &entry.value;
  }
  return nullptr;
}

IniSection ReadIniSection(std::string_view text, std::string_view section) {
  IniSection result;
  const std::string_view wanted = TrimIniBlanks(section);
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  bool inside = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    const size_t nul = line.find('\0');
    if (nul != std::string_view::npos) line = line.substr(0, nul);
    line = TrimIniBlanks(line);
    if (line.empty() || line.front() == ';') continue;

    std::string_view name;
    if (SectionHeaderName(line, &name)) {
      // Only the first section of a name counts; a later one of the same name is ignored.
      if (inside) break;
      inside = EqualsAsciiNoCase(name, wanted);
      continue;
    }
    if (!inside) continue;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = TrimIniBlanks(line.substr(0, equals));
    if (key.empty()) continue;
    result.Add(std::string(key), std::string(TrimIniBlanks(line.substr(equals + 1))));
  }
  return result;
}

std::string CutToChars(std::string_view text, size_t maxChars) {
  size_t pos = 0;
  size_t chars = 0;
  while (pos < text.size() && chars < maxChars) {
    pos += Utf8SequenceLength(text, pos);
    ++chars;
  }
  return std::string(text.substr(0, pos));
}

std::string ProfileValue(std::string_view rawValue, size_t maxChars) {
  if (rawValue.size() >= 2 && (rawValue.front() == '"' || rawValue.front() == '\'') &&
      rawValue.back() == rawValue.front()) {
    rawValue = rawValue.substr(1, rawValue.size() - 2);
  }
  return CutToChars(rawValue, maxChars);
}

std::string ProfileWriteForm(std::string_view value) {
  // Blanks at either end would be trimmed away by the reader; inside quotes they stay.
  const bool blankAtEnd = !value.empty() && (IsIniBlank(value.front()) || IsIniBlank(value.back()));
  const bool enclosedInQuotes = value.size() >= 2 &&
                                (value.front() == '"' || value.front() == '\'') &&
                                value.back() == value.front();
  if (blankAtEnd || enclosedInQuotes) {
    std::string wrapped;
    wrapped.reserve(value.size() + 2);
    wrapped += '"';
    wrapped += value;
    wrapped += '"';
    return wrapped;
  }
  return std::string(value);
}

}  // namespace brevane::util
