#include "app/delimited_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/copy_text.h"
#include "app/result_rows.h"

namespace brevane::app {
namespace {

using namespace std::string_literals;

ResultRows Rows(const util::StringList& names, const std::vector<util::StringList>& rows) {
  wmi::ResultTable table;
  for (const util::StringList& row : rows) {
    table.columnNames.insert(table.columnNames.end(), names.begin(), names.end());
    table.values.insert(table.values.end(), row.begin(), row.end());
    table.rowLengths.push_back(static_cast<int>(names.size()));
  }
  table.cols = static_cast<int>(names.size());
  table.rows = static_cast<int>(rows.size());
  return ResultRows::FromTable(std::move(table));
}

std::string Line(DelimitedFormat format, const std::vector<std::string>& cells) {
  util::StringSink sink;
  DelimitedWriter writer(sink, format);
  for (const std::string& cell : cells) writer.Cell(cell);
  writer.EndLine();
  return sink.Text();
}

TEST(DelimitedTextTest, CellsAreQuotedOnlyWhereTheFormatNeedsIt) {
  struct Case {
    std::string cell;
    std::string csv;
    std::string tsv;
  };
  const std::vector<Case> cases = {
      {"plain", "plain", "plain"},
      {"", "", ""},
      {"a,b", "\"a,b\"", "a,b"},
      {"say \"hi\"", "\"say \"\"hi\"\"\"", "say \"hi\""},
      {"\"quoted\"", "\"\"\"quoted\"\"\"", "\"\"\"quoted\"\"\""},
      {"tab\there", "tab\there", "\"tab\there\""},
      {"two\r\nlines", "\"two\r\nlines\"", "\"two\r\nlines\""},
      {"lf\nonly", "\"lf\nonly\"", "\"lf\nonly\""},
      {"nul\0inside"s, "nul\xEF\xBF\xBDinside", "nul\xEF\xBF\xBDinside"},
      {"\0,\""s, "\"\xEF\xBF\xBD,\"\"\"", "\xEF\xBF\xBD,\""},
      {"\x01\x1F\x7F", "\x01\x1F\x7F", "\x01\x1F\x7F"},
      {"进程 Ünïcode 😀", "进程 Ünïcode 😀", "进程 Ünïcode 😀"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cell);
    EXPECT_EQ(Line(DelimitedFormat::Csv, {c.cell}), c.csv + "\r\n");
    EXPECT_EQ(Line(DelimitedFormat::Tsv, {c.cell}), c.tsv + "\r\n");
  }
  EXPECT_EQ(Line(DelimitedFormat::Csv, {"", "x", ""}), ",x,\r\n");
  EXPECT_EQ(Line(DelimitedFormat::Tsv, {"", "x", ""}), "\tx\t\r\n");
}

TEST(DelimitedTextTest, GuardedCellsCannotRunAsFormulas) {
  struct Case {
    std::string cell;
    std::string csv;  // guarded
    std::string tsv;  // guarded
  };
  const std::vector<Case> cases = {
      {"=1+2", "\"'=1+2\"", "'=1+2"},
      {"=HYPERLINK(\"http://x\",\"y\")", "\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\"",
       "'=HYPERLINK(\"http://x\",\"y\")"},
      {"+cmd|' /C calc'!A0", "\"'+cmd|' /C calc'!A0\"", "'+cmd|' /C calc'!A0"},
      {"-2+3+cmd", "\"'-2+3+cmd\"", "'-2+3+cmd"},
      {"@SUM(A1)", "\"'@SUM(A1)\"", "'@SUM(A1)"},
      {"\t=1", "\"'\t=1\"", "\"'\t=1\""},
      {"\r=1", "\"'\r=1\"", "\"'\r=1\""},
      {"-", "\"'-\"", "'-"},
      {"-1e", "\"'-1e\"", "'-1e"},
      // Numbers stay numbers, and text that only contains the characters is left alone.
      {"-5", "-5", "-5"},
      {"+1.5e3", "+1.5e3", "+1.5e3"},
      {"-.5", "-.5", "-.5"},
      {"-1,5", "\"-1,5\"", "-1,5"},
      {"a=b", "a=b", "a=b"},
      {" =1", " =1", " =1"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cell);
    for (const auto& [format, expected] :
         {std::pair{DelimitedFormat::Csv, c.csv}, std::pair{DelimitedFormat::Tsv, c.tsv}}) {
      util::StringSink sink;
      DelimitedWriter writer(sink, format, FormulaGuard::On);
      writer.Cell(c.cell);
      EXPECT_EQ(sink.Text(), expected);
    }
  }
  EXPECT_EQ(Line(DelimitedFormat::Csv, {"=1+2", "@x"}), "=1+2,@x\r\n");  // the guard turned off
}

TEST(DelimitedTextTest, TableHasHeaderAndFollowsDisplayOrderAndColumns) {
  ResultRows rows =
      Rows({"Name", "Size", "Note"}, {{"b", "20", "x,y"}, {"a", "9", ""}, {"c", "100", "z"}});
  rows.Sort(1, true);  // 9, 20, 100
  util::StringSink all;
  WriteResultRows(rows, {}, nullptr, DelimitedFormat::Csv, all);
  EXPECT_EQ(all.Text(), "Name,Size,Note\r\na,9,\r\nb,20,\"x,y\"\r\nc,100,z\r\n");

  // Columns as the header shows them; the rows chosen, in display order.
  const std::vector<int> chosen = {2, 0};
  EXPECT_EQ(ResultRowsText(rows, {2, 0}, &chosen), "Note\tName\r\nz\tc\r\n\ta\r\n");
  const std::vector<int> outOfRange = {7, -1};
  EXPECT_EQ(ResultRowsText(rows, {}, &outOfRange), "Name\tSize\tNote\r\n");
  EXPECT_EQ(ResultRowsText(ResultRows(), {}, nullptr), "\r\n");
}

// The computers' status list copies as it shows, the chosen lines in display order; a line
// number the status no longer has (a new run emptied it) copies nothing.
TEST(DelimitedTextTest, FleetStatusLinesCopyAsShown) {
  wmi::FleetStatus status;
  status.Reset({"pc1", "\"pc2\""});
  status.Finish(0, wmi::ComputerState::Failed, 20000, "The RPC server\r\nis unavailable.");
  const char* header = "Computer\tState\tObjects\tms\tError\r\n";
  EXPECT_EQ(FleetStatusText(status, nullptr),
            std::string(header) +
                "pc1\tfailed\t0\t20000\tThe RPC server is unavailable.\r\n"
                "\"\"\"pc2\"\"\"\twaiting\t0\t\t\r\n");
  const std::vector<int> chosen = {1, 5, -1};
  EXPECT_EQ(FleetStatusText(status, &chosen),
            std::string(header) + "\"\"\"pc2\"\"\"\twaiting\t0\t\t\r\n");
}

TEST(DelimitedTextTest, MillionCellsStreamInPieces) {
  constexpr int kRows = 100000;
  constexpr int kColumns = 10;
  std::vector<util::StringList> cells(kRows);
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c)
      cells[r].push_back(c == 3 ? "a,\"b\"" : std::to_string(r * c));
  }
  util::StringList names;
  for (int c = 0; c < kColumns; ++c) names.push_back("C" + std::to_string(c));
  const ResultRows rows = Rows(names, cells);

  // The writer hands over small pieces; a file sink never holds more than its buffer.
  class CountingSink final : public util::TextSink {
   public:
    void Append(std::string_view text) override {
      bytes += text.size();
      largest = std::max(largest, text.size());
      lines += static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
      last = std::string(text);
    }
    size_t bytes = 0, largest = 0, lines = 0;
    std::string last;
  } sink;
  WriteResultRows(rows, {}, nullptr, DelimitedFormat::Csv, sink);
  EXPECT_EQ(sink.lines, static_cast<size_t>(kRows + 1));
  EXPECT_LT(sink.largest, 64u);
  EXPECT_EQ(sink.last, "\r\n");
  util::StringSink text;
  WriteResultRows(rows, {}, nullptr, DelimitedFormat::Csv, text);
  EXPECT_EQ(text.Text().size(), sink.bytes);
  EXPECT_NE(text.Text().find("\r\n0,99999,199998,\"a,\"\"b\"\"\",399996,"), std::string::npos);
}

TEST(DelimitedTextTest, FileNameChoosesTheFormat) {
  EXPECT_EQ(FormatForFileName("C:\\out\\a.CSV", DelimitedFormat::Tsv), DelimitedFormat::Csv);
  EXPECT_EQ(FormatForFileName("a.txt", DelimitedFormat::Csv), DelimitedFormat::Tsv);
  EXPECT_EQ(FormatForFileName("a.tsv", DelimitedFormat::Csv), DelimitedFormat::Tsv);
  EXPECT_EQ(FormatForFileName("a.xls", DelimitedFormat::Csv), DelimitedFormat::Csv);
  EXPECT_EQ(FormatForFileName("C:\\dir.csv\\plain", DelimitedFormat::Tsv), DelimitedFormat::Tsv);
  EXPECT_EQ(FormatForFileName("", DelimitedFormat::Tsv), DelimitedFormat::Tsv);
}

TEST(CopyTextTest, PropertyRows) {
  const std::vector<PropertyRowText> rows = {
      {"Name", "svchost.exe"}, {"CommandLine", "a\tb"}, {"Empty", ""}, {"", ""}};
  EXPECT_EQ(PropertyLinesText(rows), "Name\tsvchost.exe\r\nCommandLine\t\"a\tb\"\r\nEmpty\t\r\n");
  EXPECT_EQ(PropertyValuesText(rows), "svchost.exe\r\na\tb\r\n\r\n");
  // One value goes exactly as it is, however long and whatever it holds.
  const std::string big(10 * 1024 * 1024, 'x');
  EXPECT_EQ(PropertyValuesText({{"Data", big + "\r\n\"\t"}, {"", ""}}), big + "\r\n\"\t");
  // Only the closing blank row (or nothing) chosen: nothing to copy, not an empty text.
  EXPECT_EQ(PropertyLinesText({{"", ""}}), std::nullopt);
  EXPECT_EQ(PropertyValuesText({{"", ""}}), std::nullopt);
  EXPECT_EQ(PropertyLinesText({}), std::nullopt);
  EXPECT_EQ(PropertyValuesText({{"Empty", ""}, {"", ""}}), "");
  EXPECT_EQ(PropertyGridName("Handle", true), "Handle (key)");
  EXPECT_EQ(PropertyGridName("Handle", false), "Handle");
  EXPECT_EQ(PropertyNameFromGrid("Handle (key)"), "Handle");
  EXPECT_EQ(PropertyNameFromGrid("Handle"), "Handle");
  EXPECT_EQ(PropertyNameFromGrid(" (key)"), " (key)");
  EXPECT_EQ(PropertyValuesText({}), std::nullopt);
}

}  // namespace
}  // namespace brevane::app
