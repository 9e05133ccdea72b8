#include "app/result_rows.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "util/text.h"

namespace brevane::app {

namespace {

constexpr int kMinColumnWidth = 90;
// The sort treats -1 as "does not convert", so a cell holding -1 counts as text.
constexpr int32_t kNoNumber = -1;

// 8 bytes of a text from `from` on as one number, zero-padded: a smaller number means a
// smaller text in byte order; equal numbers leave the order to the rest of the text.
uint64_t BytePrefix(std::string_view text, size_t from) {
  uint64_t prefix = 0;
  for (size_t i = from; i < from + 8; ++i)
    prefix = (prefix << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
  return prefix;
}

// Splits the flat name/value lists into objects. The lengths come from the table; whatever
// they do not account for (a table filled without them) is cut into rows of `cols`.
std::vector<size_t> ObjectLengths(const wmi::ResultTable& table, size_t cellCount) {
  std::vector<size_t> lengths;
  size_t remaining = cellCount;
  for (int length : table.rowLengths) {
    const size_t taken = std::min(static_cast<size_t>(std::max(length, 0)), remaining);
    lengths.push_back(taken);
    remaining -= taken;
  }
  const size_t chunk = table.cols > 0 ? static_cast<size_t>(table.cols) : remaining;
  while (remaining > 0) {
    const size_t taken = std::min(chunk, remaining);
    lengths.push_back(taken);
    remaining -= taken;
  }
  return lengths;
}

// True when every object has the same property names in the same order (and no object is
// without properties), so that the cells can stay where they are.
bool SameShape(const util::StringList& names, const std::vector<size_t>& lengths) {
  if (lengths.empty() || lengths.front() == 0) return false;
  const size_t width = lengths.front();
  for (size_t object = 1; object < lengths.size(); ++object) {
    if (lengths[object] != width) return false;
    const size_t base = object * width;
    for (size_t i = 0; i < width; ++i) {
      if (names[base + i] != names[i]) return false;
    }
  }
  return true;
}

}  // namespace

ResultRows ResultRows::FromTable(wmi::ResultTable&& table) {
  ResultRows rows;
  rows.Append(std::move(table));
  return rows;
}

void ResultRows::Append(wmi::ResultTable&& table) {
  const size_t cellCount = std::min(table.columnNames.size(), table.values.size());
  const std::vector<size_t> lengths = ObjectLengths(table, cellCount);

  // The common case of a whole result of one shape takes the value list as it is.
  if (cells_.empty() && rowStart_.empty() && SameShape(table.columnNames, lengths)) {
    const size_t width = lengths.front();
    columnNames_.assign(
        std::make_move_iterator(table.columnNames.begin()),
        std::make_move_iterator(table.columnNames.begin() + static_cast<std::ptrdiff_t>(width)));
    for (size_t i = 0; i < cellCount; ++i) cells_.push_back(std::move(table.values[i]));
    for (size_t r = 0; r < lengths.size(); ++r) {
      rowStart_.push_back(r * width);
      order_.push_back(static_cast<int>(r));
    }
    table.Clear();
    return;
  }

  size_t cell = 0;
  for (const size_t length : lengths) {
    const size_t stored = rowStart_.size();
    rowStart_.push_back(cells_.size());
    order_.push_back(static_cast<int>(stored));
    if (!mixed_ && columnNames_.empty() && length > 0) {
      columnNames_.assign(table.columnNames.begin() + static_cast<std::ptrdiff_t>(cell),
                          table.columnNames.begin() + static_cast<std::ptrdiff_t>(cell + length));
    }
    const bool sameNames =
        !mixed_ && length == columnNames_.size() &&
        std::equal(columnNames_.begin(), columnNames_.end(),
                   table.columnNames.begin() + static_cast<std::ptrdiff_t>(cell));
    if (sameNames) {
      for (size_t i = 0; i < length; ++i) cells_.push_back(std::move(table.values[cell + i]));
    } else if (length > 0) {
      AppendMixed(table.columnNames, table.values, cell, length);
    }
    cell += length;
  }
  table.Clear();
}

void ResultRows::KeepNewest(size_t maxRows) {
  if (order_.size() <= maxRows) return;
  // Rows are stored in arrival order and only ever dropped from the front, so the kept
  // ones are the stored rows from firstKept_ on.
  firstKept_ += order_.size() - maxRows;
  std::erase_if(order_, [&](int stored) { return static_cast<size_t>(stored) < firstKept_; });
  // Moving the cells on every call would cost the whole table per event; once a quarter of
  // the storage is dropped rows, it is worth it.
  if (firstKept_ >= 1024 && firstKept_ * 4 >= rowStart_.size()) CompactDropped();
}

void ResultRows::CompactDropped() {
  const size_t dropped = firstKept_;
  const size_t firstCell = dropped < rowStart_.size() ? rowStart_[dropped] : cells_.size();
  cells_.erase_front(firstCell);
  rowStart_.erase(rowStart_.begin(), rowStart_.begin() + static_cast<std::ptrdiff_t>(dropped));
  for (size_t& start : rowStart_) start -= firstCell;
  for (int& stored : order_) stored -= static_cast<int>(dropped);
  for (size_t& row : lastRowInColumn_)
    row = row != SIZE_MAX && row >= dropped ? row - dropped : SIZE_MAX;
  firstKept_ = 0;
}

void ResultRows::AppendMixed(util::StringList& names, util::StringList& values, size_t first,
                             size_t length) {
  const size_t stored = rowStart_.size() - 1;
  if (!mixed_) {
    mixed_ = true;
    for (size_t column = 0; column < columnNames_.size(); ++column)
      columnsByName_[columnNames_[column]].push_back(column);
    lastRowInColumn_.assign(columnNames_.size(), SIZE_MAX);
  }
  // Columns in order of first appearance; a name that occurs twice in one object gets a
  // second column of that name rather than overwriting the first cell.
  std::vector<size_t> columnOfCell(length);
  size_t width = 0;
  for (size_t i = 0; i < length; ++i) {
    std::vector<size_t>& candidates = columnsByName_[names[first + i]];
    auto free = std::find_if(candidates.begin(), candidates.end(),
                             [&](size_t column) { return lastRowInColumn_[column] != stored; });
    size_t column;
    if (free != candidates.end()) {
      column = *free;
    } else {
      column = columnNames_.size();
      columnNames_.push_back(names[first + i]);
      lastRowInColumn_.push_back(stored);
      candidates.push_back(column);
    }
    lastRowInColumn_[column] = stored;
    columnOfCell[i] = column;
    width = std::max(width, column + 1);
  }
  const size_t start = cells_.size();
  cells_.resize(start + width);
  for (size_t i = 0; i < length; ++i)
    cells_[start + columnOfCell[i]] = std::move(values[first + i]);
}

std::string_view ResultRows::StoredCell(size_t stored, size_t column) const {
  const size_t start = rowStart_[stored];
  const size_t end = stored + 1 < rowStart_.size() ? rowStart_[stored + 1] : cells_.size();
  return start + column < end ? std::string_view(cells_[start + column]) : std::string_view();
}

int ResultRows::RowCount() const {
  return columnNames_.empty() ? 0 : static_cast<int>(order_.size());
}

int ResultRows::ColumnCount() const {
  return static_cast<int>(columnNames_.size());
}

const util::StringList& ResultRows::ColumnNames() const {
  return columnNames_;
}

const std::string& ResultRows::Cell(int row, int column) const {
  static const std::string kEmpty;
  if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return kEmpty;
  const size_t stored = static_cast<size_t>(order_[static_cast<size_t>(row)]);
  const size_t start = rowStart_[stored];
  const size_t end = stored + 1 < rowStart_.size() ? rowStart_[stored + 1] : cells_.size();
  const size_t index = start + static_cast<size_t>(column);
  return index < end ? cells_[index] : kEmpty;
}

void ResultRows::Sort(int column, bool ascending) {
  if (column < 0 || column >= ColumnCount() || order_.size() < 2) return;
  auto text = [&](int stored) -> std::string_view {
    return StoredCell(static_cast<size_t>(stored), static_cast<size_t>(column));
  };

  // The pairwise rule (numbers when both cells are numbers, bytes otherwise) is no strict
  // weak ordering, so the rows are split by kind, each kind sorted by its own order, and the
  // two runs merged by bytes. Every pair of the same kind then stands as the rule wants.
  struct NumberKey {
    int32_t number;
    int stored;
  };
  // The text sort runs on the UI thread at the end of every query: comparing whole cells
  // through the row storage misses the cache at every step, so most pairs are decided by
  // their first 16 bytes held in the key (names and paths often share their first 8).
  struct TextKey {
    uint64_t head;
    uint64_t next;
    std::string_view text;
    int stored;
    bool operator<(const TextKey& other) const {
      if (head != other.head) return head < other.head;
      if (next != other.next) return next < other.next;
      return text < other.text;
    }
  };
  std::vector<NumberKey> numbers;
  std::vector<TextKey> texts;
  for (int stored : order_) {
    const std::string_view cell = text(stored);
    const std::optional<int32_t> number = util::ParseStandardInt(cell);
    if (number && *number != kNoNumber) {
      numbers.push_back({*number, stored});
    } else {
      texts.push_back({BytePrefix(cell, 0), BytePrefix(cell, 8), cell, stored});
    }
  }

  if (ascending) {
    std::stable_sort(numbers.begin(), numbers.end(),
                     [](const NumberKey& a, const NumberKey& b) { return a.number < b.number; });
    std::stable_sort(texts.begin(), texts.end());
  } else {
    std::stable_sort(numbers.begin(), numbers.end(),
                     [](const NumberKey& a, const NumberKey& b) { return a.number > b.number; });
    std::stable_sort(texts.begin(), texts.end(),
                     [](const TextKey& a, const TextKey& b) { return b < a; });
  }

  // A number cell and a text cell are never equal, so the merge needs no tie rule.
  size_t n = 0;
  size_t t = 0;
  size_t out = 0;
  while (n < numbers.size() && t < texts.size()) {
    const int order = util::CompareBytes(text(numbers[n].stored), texts[t].text);
    const bool numberFirst = ascending ? order < 0 : order > 0;
    order_[out++] = numberFirst ? numbers[n++].stored : texts[t++].stored;
  }
  while (n < numbers.size()) order_[out++] = numbers[n++].stored;
  while (t < texts.size()) order_[out++] = texts[t++].stored;
}

int CompareCells(std::string_view a, std::string_view b) {
  const int32_t first = util::StrToIntDef(a, kNoNumber);
  const int32_t second = util::StrToIntDef(b, kNoNumber);
  if (first != kNoNumber && second != kNoNumber) {
    return first > second ? 1 : (first < second ? -1 : 0);
  }
  return util::CompareBytes(a, b);
}

int QueryColumnWidth(int clientWidth, int columnCount) {
  int width = kMinColumnWidth;
  if (columnCount > 2) {
    width = clientWidth / columnCount - 1;
  } else if (columnCount > 0) {
    const double exact = clientWidth / 2.3;
    const double floor = std::floor(exact);
    const double fraction = exact - floor;
    const bool up = fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0);
    width = static_cast<int>(up ? floor + 1 : floor);
  }
  return std::max(width, kMinColumnWidth);
}

}  // namespace brevane::app
