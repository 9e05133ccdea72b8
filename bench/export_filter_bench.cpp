// Export and copy of a 1 000 000-cell result table, and the class filter over 100 000 names
// per keystroke.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/class_filter.h"
#include "app/copy_text.h"
#include "app/delimited_text.h"
#include "app/result_rows.h"
#include "bench_tables.h"

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// A sink like the file writer's: a 64 KiB buffer handed on whenever it is full.
class BufferedSink final : public brevane::util::TextSink {
 public:
  void Append(std::string_view text) override {
    if (buffer_.size() + text.size() > kCapacity) Flush();
    if (text.size() > kCapacity) {
      written += text.size();
      return;
    }
    buffer_.append(text);
  }
  void Flush() {
    written += buffer_.size();
    buffer_.clear();
  }
  size_t written = 0;

 private:
  static constexpr size_t kCapacity = 64 * 1024;
  std::string buffer_;
};

}  // namespace

int main() {
  brevane::app::ResultRows rows = brevane::bench::MillionCellRows();
  rows.Sort(2, false);

  for (auto format : {brevane::app::DelimitedFormat::Csv, brevane::app::DelimitedFormat::Tsv}) {
    BufferedSink sink;
    const auto start = std::chrono::steady_clock::now();
    brevane::app::WriteResultRows(rows, {}, nullptr, format, sink);
    sink.Flush();
    std::printf("export 1 000 000 cells, %s: %8.1f ms  (%zu bytes)\n",
                format == brevane::app::DelimitedFormat::Csv ? "CSV" : "TSV",
                MillisecondsSince(start), sink.written);
  }
  {
    const auto start = std::chrono::steady_clock::now();
    const std::string text = brevane::app::ResultRowsText(rows, {}, nullptr);
    std::printf("copy text of 1 000 000 cells:  %8.1f ms  (%zu bytes)\n", MillisecondsSince(start),
                text.size());
  }

  brevane::app::ClassFilter filter;
  auto start = std::chrono::steady_clock::now();
  filter.SetNames(brevane::bench::HundredThousandClassNames());
  std::printf("filter: take 100 000 names:     %8.1f ms\n", MillisecondsSince(start));
  for (const char* text :
       {"w", "wi", "win32_perf", "WIN32_PERFRAWDATA_COUNTER9", "nosuchclass", ""}) {
    start = std::chrono::steady_clock::now();
    const size_t shown = filter.Matches(text).size();
    std::printf("filter keystroke %-28s %6.2f ms  (%zu shown)\n",
                ("\"" + std::string(text) + "\"").c_str(), MillisecondsSince(start), shown);
  }
  return 0;
}
