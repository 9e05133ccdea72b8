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

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

size_t SkipDigits(std::string_view text, size_t at) {
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at;
}

// A sign, digits with at most one decimal point or comma, an optional exponent: what a
// spreadsheet reads as a number, never as a formula.
bool IsPlainNumber(std::string_view text) {
  size_t at = 0;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  const size_t integerStart = at;
  at = SkipDigits(text, at);
  size_t digits = at - integerStart;
  if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
    const size_t fractionStart = ++at;
    at = SkipDigits(text, at);
    digits += at - fractionStart;
  }
  if (digits == 0) return false;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
    const size_t exponentStart = at;
    at = SkipDigits(text, at);
    if (at == exponentStart) return false;
  }
  return at == text.size();
}

}  // namespace

bool RunsAsFormula(std::string_view cell) {
  if (cell.empty()) return false;
  switch (cell.front()) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\t':
    case '\r':
      return !IsPlainNumber(cell);
    default:
      return false;
  }
}

void DelimitedWriter::Cell(std::string_view text) {
  if (lineStarted_) sink_.Append(format_ == DelimitedFormat::Csv ? "," : "\t");
  lineStarted_ = true;
  const bool guarded = guard_ == FormulaGuard::On && RunsAsFormula(text);
  // A guarded cell never begins with a quote, so the apostrophe changes nothing else.
  const bool quoted = NeedsQuotes(text, format_) || (guarded && format_ == DelimitedFormat::Csv);
  if (quoted) sink_.Append("\"");
  if (guarded) sink_.Append("'");
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
                     const std::vector<int>* rows, DelimitedFormat format, util::TextSink& sink,
                     FormulaGuard guard) {
  std::vector<int> order = columns;
  if (order.empty()) {
    for (int i = 0; i < table.ColumnCount(); ++i) order.push_back(i);
  }
  DelimitedWriter writer(sink, format, guard);
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
