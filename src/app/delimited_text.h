#pragma once
// Tables as delimited text: comma-separated values (RFC 4180) and tab-separated text. Written
// piece by piece into a sink, so that a large table never exists twice in memory on its way
// to a file.
#include <string>
#include <string_view>
#include <vector>

#include "util/text_sink.h"

namespace brevane::app {

class ResultRows;

enum class DelimitedFormat { Csv, Tsv };

// Spreadsheet programs run a cell that begins with "=", "+", "-", "@", a tab or a CR as a
// formula, quoted or not; WMI values come from other computers, where anyone who can start a
// process or name a service chooses such text. Guarded, such a cell is written with a leading
// apostrophe (inside its quotes in CSV), which spreadsheets take as "text follows"; a cell that
// is a plain number ("-5", "+1.5e3") stays as it is.
enum class FormulaGuard { Off, On };

// True when a spreadsheet would read the cell as a formula (see FormulaGuard).
bool RunsAsFormula(std::string_view cell);

// Spreadsheet programs take a file for UTF-8 only when it starts with the byte order mark.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Lines of cells; every line ends with CR LF. A cell that would break the line structure is
// enclosed in double quotes with its own quotes doubled: in CSV when it holds a comma, a quote,
// CR or LF; in tab-separated text when it holds a tab, CR or LF or begins with a quote (the
// form spreadsheet programs paste back). A NUL, which would end the text on the clipboard and
// in most readers, becomes U+FFFD.
class DelimitedWriter {
 public:
  DelimitedWriter(util::TextSink& sink, DelimitedFormat format,
                  FormulaGuard guard = FormulaGuard::Off)
      : sink_(sink), format_(format), guard_(guard) {}
  void Cell(std::string_view text);
  void EndLine();

 private:
  util::TextSink& sink_;
  DelimitedFormat format_;
  FormulaGuard guard_;
  bool lineStarted_ = false;
};

// The format a file name asks for: ".csv" comma-separated, ".txt", ".tsv" and ".tab"
// tab-separated (any case); any other name keeps the format chosen in the save dialog.
DelimitedFormat FormatForFileName(std::string_view fileName, DelimitedFormat chosen);

// The table as delimited text: a header line of the column captions, then one line per row.
// columns: source column indices in the order to write (the header's order on screen); empty
// means every column in source order. rows: display rows to write; null means every row, in
// display order.
void WriteResultRows(const ResultRows& table, const std::vector<int>& columns,
                     const std::vector<int>* rows, DelimitedFormat format, util::TextSink& sink,
                     FormulaGuard guard = FormulaGuard::Off);

}  // namespace brevane::app
