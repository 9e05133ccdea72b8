#include "app/delimited_text.h"

#include "app/result_rows.h"
#include "util/text.h"

namespace brevane::app {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

bool NeedsQuotes(std::string_view text, DelimitedFormat format) {
  if (format == DelimitedFormat::Csv)
    return text.find_first_of(std::string_view(",\"\r\n", 4)) != std::string_view::npos;
  return (!text.empty() && text.front() == '"') ||
         text.find_first_of(std::string_view("\t\r\n", 3)) != std::string_view::npos;
}

// Appends the text with quotes doubled (when quoted) and NULs replaced, in as few pieces as
// the text allows.
void AppendEscaped(util::TextSink& sink, std::string_view text, bool quoted) {
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\0' && !(quoted && c == '"')) continue;
    sink.Append(text.substr(start, i - start));
    sink.Append(c == '\0' ? kReplacementCharacter : std::string_view("\"\"", 2));
    start = i + 1;
  }
  sink.Append(text.substr(start));
}

}  // namespace

void DelimitedWriter::Cell(std::string_view text) {
  if (lineStarted_) sink_.Append(format_ == DelimitedFormat::Csv ? "," : "\t");
  lineStarted_ = true;
  const bool quoted = NeedsQuotes(text, format_);
  if (quoted) sink_.Append("\"");
  if (text.find('\0') == std::string_view::npos && !quoted) {
    sink_.Append(text);
  } else {
    AppendEscaped(sink_, text, quoted);
  }
  if (quoted) sink_.Append("\"");
}

void DelimitedWriter::EndLine() {
  sink_.Append("\r\n");
  lineStarted_ = false;
}

DelimitedFormat FormatForFileName(std::string_view fileName, DelimitedFormat chosen) {
  const size_t dot = fileName.find_last_of(".\\/");
  if (dot == std::string_view::npos || fileName[dot] != '.') return chosen;
  const std::string extension = util::AsciiLower(fileName.substr(dot));
  if (extension == ".csv") return DelimitedFormat::Csv;
  if (extension == ".txt" || extension == ".tsv" || extension == ".tab")
    return DelimitedFormat::Tsv;
  return chosen;
}

void WriteResultRows(const ResultRows& table, const std::vector<int>& columns,
                     const std::vector<int>* rows, DelimitedFormat format, util::TextSink& sink) {
  std::vector<int> order = columns;
  if (order.empty()) {
    for (int i = 0; i < table.ColumnCount(); ++i) order.push_back(i);
  }
  DelimitedWriter writer(sink, format);
  const util::StringList& names = table.ColumnNames();
  for (int column : order) {
    writer.Cell(column >= 0 && static_cast<size_t>(column) < names.size()
                    ? std::string_view(names[static_cast<size_t>(column)])
                    : std::string_view());
  }
  writer.EndLine();
  auto writeRow = [&](int row) {
    for (int column : order) writer.Cell(table.Cell(row, column));
    writer.EndLine();
  };
  if (rows != nullptr) {
    for (int row : *rows) {
      if (row >= 0 && row < table.RowCount()) writeRow(row);
    }
  } else {
    for (int row = 0; row < table.RowCount(); ++row) writeRow(row);
  }
}

}  // namespace brevane::app
