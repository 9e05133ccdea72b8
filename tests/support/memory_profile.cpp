#include "support/memory_profile.h"

#include <stdexcept>
#include <vector>

#include "util/text.h"

namespace brevane::testing {

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return lines;
}

bool IsHeaderOf(const std::string& line, std::string_view section) {
  const std::string trimmed = util::Trim(line);
  if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') return false;
  return util::AsciiLower(util::Trim(trimmed.substr(1, trimmed.size() - 2))) ==
         util::AsciiLower(section);
}

bool IsHeader(const std::string& line) {
  const std::string trimmed = util::Trim(line);
  return !trimmed.empty() && trimmed.front() == '[';
}

bool IsKeyLine(const std::string& line, std::string_view key) {
  const size_t equals = line.find('=');
  return equals != std::string::npos &&
         util::AsciiLower(util::Trim(line.substr(0, equals))) == util::AsciiLower(key);
}

}  // namespace

brevane::util::IniSection MemoryProfile::ReadSection(std::string_view section) {
  ++reads;
  if (failReads) throw std::runtime_error("read failed");
  return brevane::util::ReadIniSection(text_, section);
}

void MemoryProfile::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) {
  if (failAfterWrites && writes >= *failAfterWrites) throw std::runtime_error("write failed");
  ++writes;
  std::vector<std::string> lines = SplitLines(text_);
  const std::string line = std::string(key) + "=" + std::string(value);
  size_t i = 0;
  while (i < lines.size() && !IsHeaderOf(lines[i], section)) ++i;
  if (i == lines.size()) {
    std::string header = "[";  // built in steps: GCC 12 misreads "[" + string as overlapping
    header.append(section).append("]");
    lines.push_back(std::move(header));
    lines.push_back(line);
  } else {
    size_t end = i + 1;
    while (end < lines.size() && !IsHeader(lines[end])) ++end;
    size_t found = i + 1;
    while (found < end && !IsKeyLine(lines[found], key)) ++found;
    if (found < end) {
      lines[found] = line;
    } else {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(end), line);
    }
  }
  text_.clear();
  for (const std::string& l : lines) text_ += l + "\n";
}

std::optional<std::string> MemoryProfile::RawValue(std::string_view section,
                                                   std::string_view key) const {
  const brevane::util::IniSection found = brevane::util::ReadIniSection(text_, section);
  const std::string* value = found.Find(key);
  if (!value) return std::nullopt;
  return *value;
}

}  // namespace brevane::testing
