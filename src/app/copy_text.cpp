#include "app/copy_text.h"

#include <algorithm>

#include "app/result_rows.h"

namespace brevane::app {

namespace {

// WMI property names are identifiers: no name ends like this.
constexpr std::string_view kKeyMark = " (key)";

bool IsBlankRow(const PropertyRowText& row) {
  return row.name.empty() && row.value.empty();
}

}  // namespace

std::string PropertyGridName(const std::string& name, bool key) {
  return key ? name + std::string(kKeyMark) : name;
}

std::string PropertyNameFromGrid(const std::string& shown) {
  const std::string_view text(shown);
  if (text.size() > kKeyMark.size() && text.substr(text.size() - kKeyMark.size()) == kKeyMark)
    return std::string(text.substr(0, text.size() - kKeyMark.size()));
  return shown;
}

std::optional<std::string> PropertyLinesText(const std::vector<PropertyRowText>& rows) {
  if (std::all_of(rows.begin(), rows.end(), IsBlankRow)) return std::nullopt;
  util::StringSink sink;
  DelimitedWriter writer(sink, DelimitedFormat::Tsv);
  for (const PropertyRowText& row : rows) {
    if (IsBlankRow(row)) continue;
    writer.Cell(row.name);
    writer.Cell(row.value);
    writer.EndLine();
  }
  return std::move(sink.Text());
}

std::optional<std::string> PropertyValuesText(const std::vector<PropertyRowText>& rows) {
  std::vector<const PropertyRowText*> chosen;
  for (const PropertyRowText& row : rows) {
    if (!IsBlankRow(row)) chosen.push_back(&row);
  }
  if (chosen.empty()) return std::nullopt;
  if (chosen.size() == 1) return chosen.front()->value;
  std::string text;
  for (const PropertyRowText* row : chosen) {
    text += row->value;
    text += "\r\n";
  }
  return text;
}

std::string ResultRowsText(const ResultRows& table, const std::vector<int>& columns,
                           const std::vector<int>* rows) {
  util::StringSink sink;
  // Sized once: a million cells grown step by step would be copied over and over.
  size_t estimate = 0;
  const int rowCount = rows != nullptr ? static_cast<int>(rows->size()) : table.RowCount();
  for (int i = 0; i < rowCount; ++i) {
    const int row = rows != nullptr ? (*rows)[static_cast<size_t>(i)] : i;
    for (int column = 0; column < table.ColumnCount(); ++column)
      estimate += table.Cell(row, column).size() + 1;
    estimate += 1;
  }
  sink.Text().reserve(estimate + 256);
  WriteResultRows(table, columns, rows, DelimitedFormat::Tsv, sink);
  return std::move(sink.Text());
}

std::string FleetStatusText(const wmi::FleetStatus& status, const std::vector<int>* lines) {
  util::StringSink sink;
  DelimitedWriter writer(sink, DelimitedFormat::Tsv);
  for (std::string_view caption : wmi::kStatusCaptions) writer.Cell(caption);
  writer.EndLine();
  const std::vector<wmi::ComputerStatus>& computers = status.Computers();
  const auto writeLine = [&](size_t index) {
    for (const std::string& cell : wmi::StatusCells(computers[index])) writer.Cell(cell);
    writer.EndLine();
  };
  if (lines == nullptr) {
    for (size_t i = 0; i < computers.size(); ++i) writeLine(i);
  } else {
    for (int line : *lines)
      if (line >= 0 && static_cast<size_t>(line) < computers.size())
        writeLine(static_cast<size_t>(line));
  }
  return std::move(sink.Text());
}

}  // namespace brevane::app
