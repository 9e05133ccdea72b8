#include "app/result_rows.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "util/block_vector.h"
#include "util/text.h"

namespace brevane::app {
namespace {

wmi::ResultTable Table(const std::vector<util::StringList>& names,
                       const std::vector<util::StringList>& values) {
  wmi::ResultTable table;
  for (size_t i = 0; i < names.size(); ++i) {
    table.columnNames.insert(table.columnNames.end(), names[i].begin(), names[i].end());
    table.values.insert(table.values.end(), values[i].begin(), values[i].end());
    table.rowLengths.push_back(static_cast<int>(names[i].size()));
    table.cols = std::max(table.cols, static_cast<int>(names[i].size()));
  }
  table.rows = static_cast<int>(names.size());
  return table;
}

// Rows built from one column of cells.
ResultRows Column(const util::StringList& cells) {
  std::vector<util::StringList> names(cells.size(), util::StringList{"X", "Id"});
  std::vector<util::StringList> values;
  for (size_t i = 0; i < cells.size(); ++i) values.push_back({cells[i], std::to_string(i)});
  return ResultRows::FromTable(Table(names, values));
}

util::StringList ColumnOf(const ResultRows& rows, int column) {
  util::StringList out;
  for (int r = 0; r < rows.RowCount(); ++r) out.push_back(rows.Cell(r, column));
  return out;
}

TEST(ResultRowsTest, AlignedResultKeepsPositions) {
  wmi::ResultTable table =
      Table({{"Caption", "Handles"}, {"Caption", "Handles"}}, {{"a.exe", "10"}, {"b.exe", "20"}});
  const ResultRows rows = ResultRows::FromTable(std::move(table));
  EXPECT_EQ(rows.ColumnNames(), (util::StringList{"Caption", "Handles"}));
  ASSERT_EQ(rows.RowCount(), 2);
  EXPECT_EQ(rows.Cell(1, 0), "b.exe");
  EXPECT_EQ(rows.Cell(1, 1), "20");
  EXPECT_EQ(rows.Cell(2, 0), "");  // out of range reads as empty
  EXPECT_EQ(rows.Cell(0, 5), "");
  EXPECT_TRUE(table.values.empty());
}

TEST(ResultRowsTest, KeepNewestDropsTheOldestRowsAcrossCompactions) {
  // Events stream in one at a time; some carry a property the others lack.
  ResultRows rows;
  for (int i = 0; i < 5000; ++i) {
    const bool extra = i % 7 == 0;
    util::StringList names = {"Time", "Name"};
    util::StringList values = {std::to_string(i), "n" + std::to_string(i)};
    if (extra) {
      names.push_back("Extra");
      values.push_back("x" + std::to_string(i));
    }
    rows.Append(Table({names}, {values}));
    rows.KeepNewest(1000);
    if (i == 2500) rows.Sort(0, false);  // a sort in between: display order is kept per row
  }
  ASSERT_EQ(rows.RowCount(), 1000);
  EXPECT_EQ(rows.ColumnNames(), (util::StringList{"Time", "Name", "Extra"}));
  std::vector<int> times;
  for (int r = 0; r < rows.RowCount(); ++r) {
    const int time = std::stoi(rows.Cell(r, 0));
    times.push_back(time);
    EXPECT_EQ(rows.Cell(r, 1), "n" + std::to_string(time));
    EXPECT_EQ(rows.Cell(r, 2), time % 7 == 0 ? "x" + std::to_string(time) : "");
  }
  std::sort(times.begin(), times.end());
  EXPECT_EQ(times.front(), 4000);
  EXPECT_EQ(times.back(), 4999);
}

TEST(ResultRowsTest, UnalignedResultPlacesCellsByName) {
  const ResultRows rows =
      ResultRows::FromTable(Table({{"Name", "Size"}, {"Name", "FileSystem", "Size"}, {"Size"}, {}},
                                  {{"C:", "100"}, {"D:", "NTFS", "200"}, {"300"}, {}}));
  EXPECT_EQ(rows.ColumnNames(), (util::StringList{"Name", "Size", "FileSystem"}));
  ASSERT_EQ(rows.RowCount(), 4);
  EXPECT_EQ(ColumnOf(rows, 0), (util::StringList{"C:", "D:", "", ""}));
  EXPECT_EQ(ColumnOf(rows, 1), (util::StringList{"100", "200", "300", ""}));
  EXPECT_EQ(ColumnOf(rows, 2), (util::StringList{"", "NTFS", "", ""}));
}

TEST(ResultRowsTest, SameCountDifferentNamesIsPlacedByName) {
  const ResultRows rows =
      ResultRows::FromTable(Table({{"A", "B"}, {"B", "C"}}, {{"a1", "b1"}, {"b2", "c2"}}));
  EXPECT_EQ(rows.ColumnNames(), (util::StringList{"A", "B", "C"}));
  EXPECT_EQ(ColumnOf(rows, 1), (util::StringList{"b1", "b2"}));
}

TEST(ResultRowsTest, RepeatedNameInOneObjectLosesNothing) {
  const ResultRows rows =
      ResultRows::FromTable(Table({{"A", "A"}, {"A"}}, {{"first", "second"}, {"third"}}));
  EXPECT_EQ(rows.ColumnNames(), (util::StringList{"A", "A"}));
  EXPECT_EQ(ColumnOf(rows, 0), (util::StringList{"first", "third"}));
  EXPECT_EQ(ColumnOf(rows, 1), (util::StringList{"second", ""}));
}

// A result that streams in, one object at a time, is laid out as the whole result would be.
TEST(ResultRowsTest, StreamedObjectsGiveTheLayoutOfTheWholeResult) {
  struct Case {
    std::vector<util::StringList> names;
    std::vector<util::StringList> values;
  };
  const Case cases[] = {
      {{{"Caption", "Handles"}, {"Caption", "Handles"}, {"Caption", "Handles"}},
       {{"a", "10"}, {"b", "9"}, {"c", "11"}}},
      {{{"Name", "Size"}, {"Name", "FileSystem", "Size"}, {"Size"}, {}, {"Extra", "Name"}},
       {{"C:", "100"}, {"D:", "NTFS", "200"}, {"300"}, {}, {"x", "E:"}}},
      {{{}, {"A", "A"}, {"A"}, {"B", "A"}}, {{}, {"first", "second"}, {"third"}, {"b", "a"}}},
  };
  for (const Case& c : cases) {
    ResultRows whole = ResultRows::FromTable(Table(c.names, c.values));
    ResultRows streamed;
    for (size_t i = 0; i < c.names.size(); ++i) streamed.Append(Table({c.names[i]}, {c.values[i]}));
    ASSERT_EQ(streamed.ColumnNames(), whole.ColumnNames());
    ASSERT_EQ(streamed.RowCount(), whole.RowCount());
    for (int sortColumn = 0; sortColumn < whole.ColumnCount(); ++sortColumn) {
      whole.Sort(sortColumn, sortColumn % 2 == 0);
      streamed.Sort(sortColumn, sortColumn % 2 == 0);
      for (int column = 0; column < whole.ColumnCount(); ++column)
        EXPECT_EQ(ColumnOf(streamed, column), ColumnOf(whole, column)) << column;
    }
  }
}

TEST(ResultRowsTest, InconsistentTablesStaySane) {
  wmi::ResultTable noLengths;  // filled without row lengths: cut by cols
  noLengths.columnNames = {"A", "B", "A", "B", "A"};
  noLengths.values = {"1", "2", "3", "4", "5", "extra value without a name"};
  noLengths.cols = 2;
  const ResultRows rows = ResultRows::FromTable(std::move(noLengths));
  EXPECT_EQ(rows.RowCount(), 3);
  EXPECT_EQ(ColumnOf(rows, 0), (util::StringList{"1", "3", "5"}));
  EXPECT_EQ(ColumnOf(rows, 1), (util::StringList{"2", "4", ""}));

  wmi::ResultTable overlong;  // lengths claim more than there is
  overlong.columnNames = {"A"};
  overlong.values = {"1"};
  overlong.rowLengths = {5, -3, 7};
  overlong.cols = 7;
  const ResultRows clipped = ResultRows::FromTable(std::move(overlong));
  EXPECT_EQ(clipped.ColumnCount(), 1);
  EXPECT_EQ(clipped.RowCount(), 3);

  const ResultRows none = ResultRows::FromTable(wmi::ResultTable{});
  EXPECT_EQ(none.RowCount(), 0);
  EXPECT_EQ(none.ColumnCount(), 0);
}

TEST(CompareCellsTest, NumbersOnlyWhenBothConvert) {
  struct Case {
    const char* a;
    const char* b;
    int expected;
  };
  const Case cases[] = {
      {"9", "10", -1},   {"10", "9a", -1},  {"9a", "10", 1},       {"-1", "-5", -1},
      {"0x1F", "30", 1}, {"$1F", "31", 0},  {"Zeta", "alpha", -1}, {"-1", "0", -1},
      {"", "0", -1},     {"abc", "ab", 1},  {"\xC3\xA9", "z", 1},  {"2147483648", "3", -1},
      {" 5", "10", -1},  {"1.5", "10", -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareCells(c.a, c.b), c.expected) << c.a << " vs " << c.b;
    EXPECT_EQ(CompareCells(c.b, c.a), -c.expected) << c.b << " vs " << c.a;
  }
}

TEST(ResultRowsSortTest, OrdersOfTheExamples) {
  const std::pair<util::StringList, util::StringList> ascending[] = {
      {{"10", "9"}, {"9", "10"}},
      {{"9a", "10"}, {"10", "9a"}},
      {{"-5", "-1"}, {"-1", "-5"}},
      {{"0x1F", "30"}, {"30", "0x1F"}},
      {{"alpha", "Zeta"}, {"Zeta", "alpha"}},
      {{"0", "-1", "0", "-1"}, {"-1", "-1", "0", "0"}},
  };
  for (const auto& [input, expected] : ascending) {
    ResultRows rows = Column(input);
    rows.Sort(0, true);
    EXPECT_EQ(ColumnOf(rows, 0), expected);
    rows.Sort(0, false);
    EXPECT_EQ(ColumnOf(rows, 0), util::StringList(expected.rbegin(), expected.rend()));
  }
}

TEST(ResultRowsSortTest, TiesKeepTheirPreviousOrderBothWays) {
  ResultRows rows = Column({"b", "5", "a", "5", "b", "a"});
  rows.Sort(0, true);
  EXPECT_EQ(ColumnOf(rows, 1), (util::StringList{"1", "3", "2", "5", "0", "4"}));
  rows.Sort(0, false);
  EXPECT_EQ(ColumnOf(rows, 1), (util::StringList{"0", "4", "2", "5", "1", "3"}));
  rows.Sort(1, true);  // the id column restores the original order
  EXPECT_EQ(ColumnOf(rows, 0), (util::StringList{"b", "5", "a", "5", "b", "a"}));
  rows.Sort(7, true);  // no such column: nothing moves
  EXPECT_EQ(ColumnOf(rows, 0), (util::StringList{"b", "5", "a", "5", "b", "a"}));
}

bool IsNumberCell(const std::string& cell) {
  return util::StrToIntDef(cell, -1) != -1;
}

TEST(ResultRowsSortTest, RandomMixesSortConsistently) {
  std::mt19937 random(12345);
  const util::StringList pool = {
      "", "-1", "0", "1", "2", "10", "1a", "9a", "0x10", "$F", "a", "B", "b", " 3", "-2", "-10",
      "Z", "zz", "100", "1.5", "x", "-", "007", "2147483647", "2147483648", "-2147483648",
      // texts that agree in their first 8 or 16 bytes or differ in high bytes or a NUL
      "Win32_Process", "Win32_Processor", "Win32_Pr", "Win32_Pr\xC3\xA9", std::string("ab\0", 3),
      "ab", "\xFF", "C:\\Windows\\System32\\", "C:\\Windows\\System32\\a"};
  for (int round = 0; round < 200; ++round) {
    util::StringList cells;
    const int size = static_cast<int>(random() % 40);
    for (int i = 0; i < size; ++i) cells.push_back(pool[random() % pool.size()]);
    for (bool ascending : {true, false}) {
      ResultRows rows = Column(cells);
      rows.Sort(0, ascending);
      const util::StringList sorted = ColumnOf(rows, 0);
      ASSERT_EQ(sorted.size(), cells.size());
      util::StringList a = sorted, b = cells;
      std::sort(a.begin(), a.end());
      std::sort(b.begin(), b.end());
      ASSERT_EQ(a, b) << "the sort lost or invented cells";
      // Every pair of the same kind stands as the pairwise rule wants; ties stay stable.
      for (size_t i = 0; i < sorted.size(); ++i) {
        for (size_t j = i + 1; j < sorted.size(); ++j) {
          if (IsNumberCell(sorted[i]) != IsNumberCell(sorted[j])) continue;
          const int order = CompareCells(sorted[i], sorted[j]);
          EXPECT_TRUE(ascending ? order <= 0 : order >= 0) << sorted[i] << " before " << sorted[j];
          if (order == 0) {
            EXPECT_LT(std::stoi(rows.Cell(static_cast<int>(i), 1)),
                      std::stoi(rows.Cell(static_cast<int>(j), 1)));
          }
        }
      }
      // Sorting again changes nothing: the order is a fixed point, as a total order must be.
      rows.Sort(0, ascending);
      EXPECT_EQ(ColumnOf(rows, 0), sorted);
    }
  }
}

TEST(QueryColumnWidthTest, Examples) {
  const std::tuple<int, int, int> cases[] = {
      {700, 3, 232}, {700, 2, 304}, {700, 1, 304}, {700, 10, 90}, {2000, 4, 499},
      {0, 1, 90},    {100, 2, 90},  {700, 0, 90},  {-50, 3, 90},  {1000, 1, 435},
  };
  for (const auto& [width, columns, expected] : cases) {
    EXPECT_EQ(QueryColumnWidth(width, columns), expected) << width << "/" << columns;
  }
}

// The cells' storage, in blocks of three so that every operation crosses block boundaries.
using Small = util::BlockVector<std::string, 3>;

std::string Joined(const Small& cells) {
  std::string text;
  for (size_t i = 0; i < cells.size(); ++i) text += cells[i] + ",";
  return text;
}

TEST(BlockVectorTest, GrowsAndShrinksAcrossBlocks) {
  Small cells;
  EXPECT_TRUE(cells.empty());
  for (const char* value : {"a", "b", "c", "d", "e", "f", "g"}) cells.push_back(value);
  const std::string* first = &cells[0];
  cells.push_back("h");
  EXPECT_EQ(first, &cells[0]);  // growing moves nothing
  EXPECT_EQ(Joined(cells), "a,b,c,d,e,f,g,h,");

  cells.erase_front(4);
  EXPECT_EQ(Joined(cells), "e,f,g,h,");
  // Grown again, the places left by removed elements come back empty.
  cells.resize(7);
  EXPECT_EQ(Joined(cells), "e,f,g,h,,,,");
  cells.resize(2);
  cells.resize(4);
  EXPECT_EQ(Joined(cells), "e,f,,,");

  cells.erase_front(9);
  EXPECT_TRUE(cells.empty());
  cells.push_back("x");
  EXPECT_EQ(Joined(cells), "x,");
}

}  // namespace
}  // namespace brevane::app
