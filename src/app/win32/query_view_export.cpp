// Export of the result table to a CSV or tab-separated file chosen in the save dialog. The file
// is written through a temporary file beside it, so a failure never leaves half a file or
// harms the one that was there.
#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <optional>
#include <string>

#include "app/delimited_text.h"
#include "app/win32/query_view.h"
#include "framework/win32/atomic_file_writer.h"
#include "framework/win32/encoding.h"
#include "framework/win32/save_file_dialog.h"
#include "wmi/win32/system_error_text.h"

namespace brevane::app::win32 {

namespace {

constexpr wchar_t kFilters[] =
    L"CSV (逗号分隔, UTF-8) (*.csv)\0*.csv\0文本 (制表符分隔, UTF-8) (*.txt)\0*.txt\0";
constexpr int kCsvFilter = 1;

std::string FailureText(const std::wstring& path, const std::string& reason) {
  return "Could not export to " + framework::win32::WideToUtf8(path) + ": " + reason;
}

}  // namespace

void QueryView::OnExport() {
  // Ctrl+S comes here even while the menu item is grey.
  if (!Available(ViewCommand::Export)) {
    MessageBeep(MB_OK);
    return;
  }
  std::optional<framework::win32::SaveFileChoice> choice;
  try {
    choice = framework::win32::ChooseSaveFile(host_.Frame(), kFilters, L"result.csv", L"csv");
  } catch (const std::exception& error) {
    host_.ShowError(std::string("Error: ") + error.what());
    return;
  }
  if (!choice) return;  // cancelled
  const DelimitedFormat chosen =
      choice->filterIndex == kCsvFilter ? DelimitedFormat::Csv : DelimitedFormat::Tsv;
  ExportResultTable(choice->path,
                    FormatForFileName(framework::win32::WideToUtf8(choice->path), chosen));
}

bool QueryView::ExportResultTable(const std::wstring& path, DelimitedFormat format) {
  BusyScope busy(host_);
  std::string failure;
  try {
    framework::win32::AtomicFileWriter file(path);
    file.Append(kUtf8ByteOrderMark);
    // Both formats: a spreadsheet opens a tab-separated file by the same rules as a CSV one.
    WriteResultRows(queryRows_.Rows(), ResultColumnOrder(), nullptr, format, file,
                    host_.Settings().csvFormulaGuard ? FormulaGuard::On : FormulaGuard::Off);
    file.Commit();
  } catch (const framework::win32::FileWriteError& error) {
    failure = FailureText(path, wmi::win32::SystemErrorText(static_cast<int32_t>(error.Code())));
    if (!error.KeptFile().empty()) {
      failure +=
          "\nThe exported rows are in " + framework::win32::WideToUtf8(error.KeptFile()) + ".";
    }
  } catch (const std::bad_alloc&) {
    failure = FailureText(path, wmi::win32::SystemErrorText(ERROR_NOT_ENOUGH_MEMORY));
  }
  busy.Restore();
  if (!failure.empty()) {
    host_.SetStatus(2, failure);
    host_.ShowError(failure);
    return false;
  }
  host_.SetStatus(2, "Exported " + std::to_string(queryRows_.Rows().RowCount()) + " rows");
  return true;
}

}  // namespace brevane::app::win32
