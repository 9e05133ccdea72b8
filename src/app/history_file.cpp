#include "app/history_file.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "util/text.h"

namespace brevane::app {

namespace {

enum class ClearRule { Always, Never, WhenCountPositive };

struct HistorySection {
  const char* section;
  const char* keyPrefix;
  ClearRule clear;
  util::ComboBoxControl* combo;
  // The four original sections always get their "Count"; a newer one is written only once it
  // has entries, which spares every close a write of the whole file for nothing.
  bool writeWhenEmpty = true;
};

std::vector<HistorySection> Sections(const HistoryCombos& combos) {
  // The host list starts with the connect dialog's own preset entry, which only a stored
  // host history replaces.
  return {
      {"QueryHistory", "Query", ClearRule::Always, combos.query},
      {"SearchHistory", "Text", ClearRule::Never, combos.search},
      {"HostHistory", "Text", ClearRule::WhenCountPositive, combos.hosts},
      {"NSpaceHistory", "Text", ClearRule::Never, combos.namespaces},
      {"FilterHistory", "Text", ClearRule::Always, combos.classFilter, false},
      {"ComputerHistory", "Text", ClearRule::Always, combos.computers, false},
  };
}

void ClearItems(util::ComboBoxControl& combo) {
  for (int i = combo.ItemCount() - 1; i >= 0; --i) combo.DeleteItem(i);
}

// The index a key names when the key-by-key reader would ask for it: prefix (any case) then
// the decimal number exactly as it would be formatted, without sign or leading zeros.
bool KeyIndex(std::string_view key, std::string_view prefix, int64_t* index) {
  if (key.size() <= prefix.size() || key.size() > prefix.size() + 10) return false;
  if (util::AsciiLower(key.substr(0, prefix.size())) != util::AsciiLower(prefix)) return false;
  const std::string_view digits = key.substr(prefix.size());
  if (digits.size() > 1 && digits.front() == '0') return false;
  int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  *index = value;
  return true;
}

// Line breaks inside a value would end the line in the file and let the rest be read as a
// key of its own.
std::string SingleLine(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  return line;
}

void LoadSection(util::ProfileStore& profile, const HistorySection& rule) {
  if (!rule.combo) return;
  if (rule.clear == ClearRule::Always) ClearItems(*rule.combo);
  const util::IniSection section = profile.ReadSection(rule.section);
  const std::string* countText = section.Find("Count");
  const int32_t count =
      util::StrToIntDef(countText ? util::ProfileValue(*countText) : std::string(), 0);
  if (rule.clear == ClearRule::WhenCountPositive && count > 0) ClearItems(*rule.combo);
  for (const std::string& value : HistoryEntries(section, rule.keyPrefix, count)) {
    rule.combo->InsertItem(rule.combo->ItemCount(), value);
  }
}

void SaveSection(util::ProfileStore& profile, const HistorySection& rule) {
  if (!rule.combo) return;
  const int count = std::clamp(rule.combo->ItemCount(), 0, kMaxSavedHistoryEntries);
  if (count == 0 && !rule.writeWhenEmpty) return;
  profile.WriteString(rule.section, "Count", std::to_string(count));
  // The reader drops one pair of enclosing quotes; the write form gives a quoted text back
  // with its quotes.
  for (int i = 0; i < count; ++i) {
    profile.WriteString(rule.section, rule.keyPrefix + std::to_string(i),
                        util::ProfileWriteForm(SingleLine(rule.combo->ItemText(i))));
  }
}

}  // namespace

std::vector<std::string> HistoryEntries(const util::IniSection& section, std::string_view prefix,
                                        int32_t count) {
  std::vector<std::pair<int64_t, std::string>> found;
  if (count <= 0) return {};
  for (const util::IniEntry& entry : section.Entries()) {
    int64_t index = 0;
    if (!KeyIndex(entry.key, prefix, &index) || index >= count) continue;
    std::string value = util::ProfileValue(entry.value);
    if (!value.empty()) found.emplace_back(index, std::move(value));
  }
  // Keys are unique (case-insensitively) in a section, so indices are too.
  std::sort(found.begin(), found.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> values;
  values.reserve(found.size());
  for (auto& item : found) values.push_back(std::move(item.second));
  return values;
}

void LoadHistory(util::ProfileStore& profile, const HistoryCombos& combos) noexcept {
  try {
    for (const HistorySection& rule : Sections(combos)) LoadSection(profile, rule);
  } catch (...) {
    // A damaged or unreadable settings file must never stop the start-up.
  }
}

bool SaveHistory(util::ProfileStore& profile, const HistoryCombos& combos) noexcept {
  try {
    for (const HistorySection& rule : Sections(combos)) SaveSection(profile, rule);
    return true;
  } catch (...) {
    // An unwritable settings file must never stop the close.
    return false;
  }
}

bool HoldsHistories(util::ProfileStore& profile) noexcept {
  try {
    for (const HistorySection& rule : Sections({})) {
      if (profile.ReadSection(rule.section).Find("Count") != nullptr) return true;
    }
  } catch (...) {
  }
  return false;
}

util::ProfileStore& ReadHome(HistoryHomes& homes) noexcept {
  util::ProfileStore& user = homes.UserFile();
  return HoldsHistories(user) ? user : homes.ProgramFolderFile();
}

void LoadHistory(HistoryHomes& homes, const HistoryCombos& combos) noexcept {
  LoadHistory(ReadHome(homes), combos);
}

bool SaveHistory(HistoryHomes& homes, const HistoryCombos& combos) noexcept {
  try {
    // Once the user's file holds histories it is the one read; the program's would be stale.
    if (!HoldsHistories(homes.UserFile()) && SaveHistory(homes.ProgramFolderFile(), combos))
      return true;
    return SaveHistory(homes.UserFile(), combos);
  } catch (...) {
    return false;
  }
}

}  // namespace brevane::app
