#pragma once
// The texts that the copy commands put on the clipboard.
#include <optional>
#include <string>
#include <vector>

#include "app/delimited_text.h"
#include "wmi/fleet_status.h"

namespace brevane::app {

struct PropertyRowText {
  std::string name;
  std::string value;
};

// The property grid marks key properties after the name; a copy takes the bare name.
std::string PropertyGridName(const std::string& name, bool key);
std::string PropertyNameFromGrid(const std::string& shown);

// "复制" on the property grid: one "Name<TAB>Value" line per row, tab-separated text rules.
// The grid's closing blank row is left out; with nothing else chosen there is nothing to copy
// (no text, so the clipboard keeps what it holds).
std::optional<std::string> PropertyLinesText(const std::vector<PropertyRowText>& rows);

// "复制值": the value of one row exactly as it is (an empty value too); of several rows, one
// value per line; nothing when only the blank row is chosen.
std::optional<std::string> PropertyValuesText(const std::vector<PropertyRowText>& rows);

// The result table's rows as tab-separated text with the header line (see WriteResultRows).
// Copied text keeps every value exactly, without the file export's formula guard: it is pasted
// into consoles, scripts and mails as often as into a spreadsheet, where the user pastes values
// just seen on screen.
std::string ResultRowsText(const ResultRows& table, const std::vector<int>& columns,
                           const std::vector<int>* rows);

// The status list "计算机状态" as tab-separated text with its header line, each line as the list
// shows it: the lines given, or every computer.
std::string FleetStatusText(const wmi::FleetStatus& status, const std::vector<int>* lines);

}  // namespace brevane::app
