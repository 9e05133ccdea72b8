#pragma once
// The method dialog's parameter rows: for each in-parameter a label, an editor of its kind
// (MethodFields) and a message beside it (the form's hint, or why the text does not parse).
// The rows live in a band of the dialog; when they do not fit, a scroll bar beside the band
// chooses the first row shown.
#include <windows.h>

#include <string>
#include <vector>

#include "app/method_form.h"

namespace brevane::app::win32 {

// Rows made at most; the parameters after them are not given (WMI sees NULL).
inline constexpr size_t kMaxFieldRows = 64;

class MethodFieldRows {
 public:
  MethodFieldRows() = default;
  ~MethodFieldRows() { Clear(); }
  MethodFieldRows(const MethodFieldRows&) = delete;
  MethodFieldRows& operator=(const MethodFieldRows&) = delete;

  // Makes the rows of fields in dialog, in its tab order after `after`; band: where they go,
  // in design pixels (96 DPI); scrollBar: the band's scroll bar.
  void Build(HWND dialog, HWND after, HWND scrollBar, const RECT& band,
             std::vector<MethodField> fields);
  void Clear();
  // Places the rows shown from the first row on (after a scroll, a resize, a DPI change).
  void Place();
  // WM_VSCROLL from the scroll bar, or a wheel turn (delta rows).
  void OnScroll(int request);
  void ScrollBy(int rows);

  const std::vector<MethodField>& Fields() const { return fields_; }
  // Parameters left without a row (beyond kMaxFieldRows).
  size_t RowsLeftOut() const { return fields_.size() - rows_.size(); }
  // What each field holds, one entry per field (fields without a row: not given).
  std::vector<FieldInput> Inputs() const;
  // One message per field, empty where the field is fine: the hint comes back there.
  void ShowErrors(const std::vector<std::string>& errors);

 private:
  struct Row {
    HWND label = nullptr;
    HWND editor = nullptr;
    HWND message = nullptr;
    int height = 0;  // design pixels
  };
  void UpdateScrollBar();
  std::vector<int> Heights() const;  // design pixels, one per row
  size_t RowsFitting(size_t first) const;

  HWND dialog_ = nullptr;
  HWND scrollBar_ = nullptr;
  RECT band_{};
  std::vector<MethodField> fields_;
  std::vector<Row> rows_;
  size_t first_ = 0;
};

}  // namespace brevane::app::win32
