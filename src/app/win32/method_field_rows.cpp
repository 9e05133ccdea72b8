#include "app/win32/method_field_rows.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "app/row_paging.h"
#include "app/win32/command_ids.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/dpi.h"
#include "framework/win32/encoding.h"

namespace brevane::app::win32 {

namespace {

// Design pixels of a row: the label, the editor and the message side by side.
constexpr int kRowLabelWidth = 170;
constexpr int kRowEditorWidth = 250;
constexpr int kColumnGap = 6;
constexpr int kLineRowHeight = 30;
constexpr int kLinesRowHeight = 58;  // an array: a few lines with their own scroll bar
constexpr int kEditorHeight = 23;
// An array may hold many elements; the parser bounds their count.
constexpr LPARAM kLinesTextLimit = 4 * 1024 * 1024;

HWND MakeRowControl(HWND dialog, const wchar_t* className, DWORD style, int id) {
  HWND control = CreateWindowExW(0, className, L"", WS_CHILD | style, 0, 0, 0, 0, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
  if (control != nullptr)
    SendMessageW(control, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), 0);
  return control;
}

HWND MakeRowEditor(HWND dialog, const MethodField& field, int id) {
  switch (field.kind) {
    case EditorKind::Lines: {
      HWND edit = MakeRowControl(
          dialog, L"EDIT",
          ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP, id);
      if (edit != nullptr) SendMessageW(edit, EM_LIMITTEXT, kLinesTextLimit, 0);
      return edit;
    }
    case EditorKind::Check: {
      // Three states: the third, shown at first, leaves the parameter out.
      HWND box = MakeRowControl(dialog, L"BUTTON", BS_AUTO3STATE | WS_TABSTOP, id);
      if (box != nullptr) {
        SetWindowTextW(box, L"true (grey: not given)");
        SendMessageW(box, BM_SETCHECK, BST_INDETERMINATE, 0);
      }
      return box;
    }
    case EditorKind::Choice: {
      // The names are offered; a value they do not list can still be typed.
      HWND combo = MakeRowControl(dialog, L"COMBOBOX",
                                  CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, id);
      if (combo != nullptr) {
        for (const wmi::ValueChoice& choice : field.choices) {
          const std::wstring text = framework::win32::Utf8ToWide(choice.display);
          SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
      }
      return combo;
    }
    case EditorKind::Text:
    default:
      return MakeRowControl(dialog, L"EDIT", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, id);
  }
}

}  // namespace

void MethodFieldRows::Build(HWND dialog, HWND after, HWND scrollBar, const RECT& band,
                            std::vector<MethodField> fields) {
  Clear();
  dialog_ = dialog;
  scrollBar_ = scrollBar;
  band_ = band;
  fields_ = std::move(fields);
  const size_t count = std::min(fields_.size(), kMaxFieldRows);
  HWND previous = after;
  for (size_t i = 0; i < count; ++i) {
    const MethodField& field = fields_[i];
    const int id = kIdMethodFieldBase + static_cast<int>(3 * i);
    Row row;
    row.label = MakeRowControl(dialog, L"STATIC", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, id);
    row.editor = MakeRowEditor(dialog, field, id + 1);
    row.message = MakeRowControl(dialog, L"STATIC", SS_LEFT | SS_NOPREFIX, id + 2);
    row.height = field.kind == EditorKind::Lines ? kLinesRowHeight : kLineRowHeight;
    framework::win32::SetWindowTextUtf8(row.label, field.label);
    framework::win32::SetWindowTextUtf8(row.message, field.hint);
    // The tab order follows the rows, after the method's combo box.
    for (HWND control : {row.label, row.editor, row.message}) {
      if (control == nullptr) continue;
      SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      previous = control;
    }
    rows_.push_back(row);
  }
  first_ = 0;
  Place();
}

void MethodFieldRows::Clear() {
  for (const Row& row : rows_) {
    for (HWND control : {row.label, row.editor, row.message}) {
      if (control != nullptr && IsWindow(control)) DestroyWindow(control);
    }
  }
  rows_.clear();
  fields_.clear();
  first_ = 0;
  if (scrollBar_ != nullptr && IsWindow(scrollBar_)) ShowWindow(scrollBar_, SW_HIDE);
}

std::vector<int> MethodFieldRows::Heights() const {
  std::vector<int> heights;
  heights.reserve(rows_.size());
  for (const Row& row : rows_) heights.push_back(row.height);
  return heights;
}

size_t MethodFieldRows::RowsFitting(size_t first) const {
  return app::RowsFitting(Heights(), first, static_cast<int>(band_.bottom - band_.top));
}

void MethodFieldRows::Place() {
  if (dialog_ == nullptr || !IsWindow(dialog_)) return;
  const framework::win32::DpiScale scale = framework::win32::DpiScale::ForWindow(dialog_);
  const size_t shown = RowsFitting(first_);
  int top = band_.top;
  for (size_t i = 0; i < rows_.size(); ++i) {
    const Row& row = rows_[i];
    const bool visible = i >= first_ && i < first_ + shown;
    const int editorHeight = row.height == kLinesRowHeight
                                 ? kLinesRowHeight - (kLineRowHeight - kEditorHeight)
                                 : kEditorHeight;
    const int comboHeight =
        row.editor != nullptr && fields_[i].kind == EditorKind::Choice ? 200 : editorHeight;
    const int labelLeft = band_.left;
    const int editorLeft = labelLeft + kRowLabelWidth + kColumnGap;
    const int messageLeft = editorLeft + kRowEditorWidth + kColumnGap;
    const int messageWidth = std::max(40, static_cast<int>(band_.right - messageLeft));
    const struct {
      HWND control;
      int left, offset, width, height;
    } parts[] = {
        {row.label, labelLeft, 4, kRowLabelWidth, kEditorHeight - 4},
        {row.editor, editorLeft, 0, kRowEditorWidth, comboHeight},
        {row.message, messageLeft, 0, messageWidth, row.height - 4},
    };
    for (const auto& part : parts) {
      if (part.control == nullptr) continue;
      if (visible) {
        SetWindowPos(part.control, nullptr, scale(part.left), scale(top + part.offset),
                     scale(part.width), scale(part.height), SWP_NOZORDER | SWP_NOACTIVATE);
      }
      ShowWindow(part.control, visible ? SW_SHOWNA : SW_HIDE);
    }
    if (visible) top += row.height;
  }
  UpdateScrollBar();
}

void MethodFieldRows::UpdateScrollBar() {
  if (scrollBar_ == nullptr) return;
  const bool needed = !rows_.empty() && RowsFitting(0) < rows_.size();
  if (needed) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = static_cast<int>(rows_.size()) - 1;
    info.nPage = static_cast<UINT>(RowsFitting(first_));
    info.nPos = static_cast<int>(first_);
    SendMessageW(scrollBar_, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
  }
  ShowWindow(scrollBar_, needed ? SW_SHOWNA : SW_HIDE);
}

void MethodFieldRows::OnScroll(int request) {
  switch (request) {
    case SB_LINEUP:
      ScrollBy(-1);
      return;
    case SB_LINEDOWN:
      ScrollBy(1);
      return;
    case SB_PAGEUP:
      ScrollBy(-static_cast<int>(std::max<size_t>(1, RowsFitting(first_))));
      return;
    case SB_PAGEDOWN:
      ScrollBy(static_cast<int>(std::max<size_t>(1, RowsFitting(first_))));
      return;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      SendMessageW(scrollBar_, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&info));
      ScrollBy(info.nTrackPos - static_cast<int>(first_));
      return;
    }
    default:
      return;
  }
}

void MethodFieldRows::ScrollBy(int rows) {
  if (rows_.empty()) return;
  const size_t first =
      ScrolledFirstRow(Heights(), static_cast<int>(band_.bottom - band_.top), first_, rows);
  if (first == first_) return;
  first_ = first;
  Place();
}

std::vector<FieldInput> MethodFieldRows::Inputs() const {
  std::vector<FieldInput> inputs(fields_.size());
  for (size_t i = 0; i < rows_.size(); ++i) {
    HWND editor = rows_[i].editor;
    if (editor == nullptr) continue;
    if (fields_[i].kind == EditorKind::Check) {
      const LRESULT state = SendMessageW(editor, BM_GETCHECK, 0, 0);
      if (state == BST_CHECKED) inputs[i].checked = true;
      if (state == BST_UNCHECKED) inputs[i].checked = false;
    } else {
      inputs[i].text = framework::win32::GetWindowTextUtf8(editor);
    }
  }
  return inputs;
}

void MethodFieldRows::ShowErrors(const std::vector<std::string>& errors) {
  for (size_t i = 0; i < rows_.size(); ++i) {
    const bool bad = i < errors.size() && !errors[i].empty();
    framework::win32::SetWindowTextUtf8(rows_[i].message, bad ? errors[i] : fields_[i].hint);
  }
  // The first field that does not parse comes into view.
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (i >= errors.size() || errors[i].empty()) continue;
    if (i < first_ || i >= first_ + RowsFitting(first_))
      ScrollBy(static_cast<int>(i) - static_cast<int>(first_));
    break;
  }
}

}  // namespace brevane::app::win32
