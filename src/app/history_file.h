#pragma once
// The drop-down histories (queries, search texts, hosts, namespaces, class filters) kept
// between runs in the settings file.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "util/ini_text.h"
#include "util/list_controls.h"
#include "util/profile_store.h"

namespace brevane::app {

// A section whose combo box is missing is neither loaded nor saved, so that its stored
// history survives.
struct HistoryCombos {
  util::ComboBoxControl* query = nullptr;        // the query box, section "QueryHistory"
  util::ComboBoxControl* search = nullptr;       // FindText, section "SearchHistory"
  util::ComboBoxControl* hosts = nullptr;        // HostCombo, section "HostHistory"
  util::ComboBoxControl* namespaces = nullptr;   // wmiPathCombo, section "NSpaceHistory"
  util::ComboBoxControl* classFilter = nullptr;  // the class filter box, section "FilterHistory"
  util::ComboBoxControl* computers = nullptr;    // the box "计算机", section "ComputerHistory"
};

// The lists in memory are unbounded; only the most recent entries go to the file.
inline constexpr int kMaxSavedHistoryEntries = 15;

// Fills the drop-down lists from the file. Never throws: a failure ends the load where it
// happened and keeps what was already added.
void LoadHistory(util::ProfileStore& profile, const HistoryCombos& combos) noexcept;

// Writes the first entries of each drop-down list. Never throws: a failed write ends the save
// there, keeps what was already written and gives false.
bool SaveHistory(util::ProfileStore& profile, const HistoryCombos& combos) noexcept;

// The two places of the settings file: beside the program (portable use), and the user's own
// folder for when the program's folder cannot be written (under Program Files, on a read-only
// share). The user's file may also hold other settings (the window's position).
class HistoryHomes {
 public:
  virtual ~HistoryHomes() = default;
  virtual util::ProfileStore& ProgramFolderFile() = 0;
  virtual util::ProfileStore& UserFile() = 0;  // its folder is made when it is first written
};

// True when the file holds a saved history (a "Count" in one of the four sections).
bool HoldsHistories(util::ProfileStore& profile) noexcept;

// The file read at start-up: the user's once it holds histories (an earlier save had to go
// there), else the program's. The program's settings are read from the same file.
util::ProfileStore& ReadHome(HistoryHomes& homes) noexcept;
// Loads from ReadHome.
void LoadHistory(HistoryHomes& homes, const HistoryCombos& combos) noexcept;
// The program's file unless the user's holds histories; the user's when the program's cannot
// be written. False only when neither could be.
bool SaveHistory(HistoryHomes& homes, const HistoryCombos& combos) noexcept;

// The non-empty values of the keys prefix + "0" .. prefix + (count - 1) in index order, read
// as the profile reader gives them. Walks only the keys the section has, so a hand-edited
// count of two billion costs no more than a count of three.
std::vector<std::string> HistoryEntries(const util::IniSection& section, std::string_view prefix,
                                        int32_t count);

}  // namespace brevane::app
