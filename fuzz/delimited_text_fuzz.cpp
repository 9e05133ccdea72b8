// Delimited lines of arbitrary cells read back: a CSV or tab-separated reader that follows the
// quoting rules gets every cell exactly as written (a NUL as U+FFFD), whatever the cells hold.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/delimited_text.h"
#include "fuzz_check.h"

namespace {

using Cells = std::vector<std::string>;

// One line: a quoted field runs to a quote not followed by another; an unquoted one to the
// separator or the CR of the line's end.
std::optional<Cells> ReadLine(const std::string& text, char separator) {
  Cells cells;
  size_t i = 0;
  for (;;) {
    std::string cell;
    if (i < text.size() && text[i] == '"') {
      ++i;
      for (;;) {
        if (i >= text.size()) return std::nullopt;
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            cell += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        cell += text[i++];
      }
    } else {
      while (i < text.size() && text[i] != separator && text[i] != '\r') cell += text[i++];
    }
    cells.push_back(std::move(cell));
    if (i < text.size() && text[i] == separator) {
      ++i;
      continue;
    }
    if (text.compare(i, std::string::npos, "\r\n") != 0) return std::nullopt;
    return cells;
  }
}

std::string WithoutNul(const std::string& cell) {
  std::string out;
  for (char c : cell) {
    if (c == '\0') {
      out += "\xEF\xBF\xBD";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  Cells cells;
  const size_t count = in.ConsumeIntegralInRange<size_t>(1, 8);
  for (size_t i = 0; i < count; ++i) cells.push_back(in.ConsumeRandomLengthString(64));
  Cells expected;
  for (const std::string& cell : cells) expected.push_back(WithoutNul(cell));
  // Guarded, a cell that would run as a formula reads back with one leading apostrophe.
  Cells guarded = expected;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (brevane::app::RunsAsFormula(cells[i])) guarded[i].insert(0, "'");
  }
  for (auto format : {brevane::app::DelimitedFormat::Csv, brevane::app::DelimitedFormat::Tsv}) {
    for (auto guard : {brevane::app::FormulaGuard::Off, brevane::app::FormulaGuard::On}) {
      brevane::util::StringSink sink;
      brevane::app::DelimitedWriter writer(sink, format, guard);
      for (const std::string& cell : cells) writer.Cell(cell);
      writer.EndLine();
      const std::optional<Cells> read =
          ReadLine(sink.Text(), format == brevane::app::DelimitedFormat::Csv ? ',' : '\t');
      FUZZ_CHECK(read.has_value());
      FUZZ_CHECK(*read == (guard == brevane::app::FormulaGuard::On ? guarded : expected));
    }
  }
  return 0;
}
