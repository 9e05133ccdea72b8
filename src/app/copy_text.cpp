#include "app/copy_text.h"

namespace brevane {

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

std::string PropertyLinesText(const std::vector<PropertyRowText>& rows) {
  StringSink sink;
  DelimitedWriter writer(sink, DelimitedFormat::Tsv);
  for (const PropertyRowText& row : rows) {
    if (IsBlankRow(row)) continue;
    writer.Cell(row.name);
    writer.Cell(row.value);
    writer.EndLine();
  }
  return std::move(sink.Text());
}

std::string PropertyValuesText(const std::vector<PropertyRowText>& rows) {
  std::vector<const PropertyRowText*> chosen;
  for (const PropertyRowText& row : rows) {
    if (!IsBlankRow(row)) chosen.push_back(&row);
  }
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
  StringSink sink;
  WriteResultRows(table, columns, rows, DelimitedFormat::Tsv, sink);
  return std::move(sink.Text());
}

}  // namespace brevane
