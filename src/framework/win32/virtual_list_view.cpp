#include "framework/win32/virtual_list_view.h"

#include <algorithm>

#include "framework/win32/encoding.h"
#include "util/text.h"

namespace brevane::framework::win32 {

namespace {
constexpr UINT_PTR kPaceTimer = 0x5052;  // the list view's own timers use small numbers
// The timer finds its object through this property, which the object removes when it goes.
constexpr wchar_t kPaceProperty[] = L"BrevaneRowCountPace";
}  // namespace

VirtualListView::~VirtualListView() {
  StopPacing();
}

void VirtualListView::Attach(HWND listView, const RowSource* source) {
  StopPacing();
  listView_ = listView;
  source_ = source;
}

void VirtualListView::SyncRowCount(bool keepScroll) {
  if (!keepScroll) {
    StopPacing();
    SetItemCount(false);
    return;
  }
  const auto now = UpdatePacer::Clock::now();
  switch (rowCountPacer_.Request(now)) {
    case UpdatePacer::Step::ShowNow:
      SetItemCount(true);
      break;
    case UpdatePacer::Step::StartTimer:
      SetPropW(listView_, kPaceProperty, this);
      if (SetTimer(listView_, kPaceTimer, static_cast<UINT>(rowCountPacer_.Delay(now).count()),
                   &VirtualListView::OnPaceTimer) == 0) {
        StopPacing();
        SetItemCount(true);
      }
      break;
    case UpdatePacer::Step::TimerRunning:
      break;
  }
}

void VirtualListView::SetItemCount(bool keepScroll) {
  const int rows = source_ != nullptr ? source_->RowCount() : 0;
  const LPARAM flags = keepScroll ? LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL : 0;
  SendMessageW(listView_, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), flags);
  // Rows added at the end repaint themselves where they come into view; the rest only when
  // the whole table changed.
  if (!keepScroll) InvalidateRect(listView_, nullptr, TRUE);
}

void VirtualListView::StopPacing() {
  if (rowCountPacer_.TimerRunning() && listView_ != nullptr) {
    KillTimer(listView_, kPaceTimer);
    RemovePropW(listView_, kPaceProperty);
  }
  rowCountPacer_.Forget();
}

void CALLBACK VirtualListView::OnPaceTimer(HWND listView, UINT, UINT_PTR, DWORD) {
  KillTimer(listView, kPaceTimer);
  auto* self = static_cast<VirtualListView*>(RemovePropW(listView, kPaceProperty));
  if (self == nullptr || self->listView_ != listView) return;
  self->rowCountPacer_.Shown(UpdatePacer::Clock::now());
  self->SetItemCount(true);
}

void VirtualListView::FillDisplayInfo(NMLVDISPINFOW& info) const {
  LVITEMW& item = info.item;
  if ((item.mask & LVIF_IMAGE) != 0) item.iImage = -1;
  if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) return;
  item.pszText[0] = L'\0';
  if (!ValidRow(item.iItem) || item.iSubItem < 0 || item.iSubItem >= source_->ColumnCount()) return;
  const std::wstring text = Utf8ToWide(source_->Cell(item.iItem, item.iSubItem));
  const size_t count = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
  std::copy_n(text.data(), count, item.pszText);
  item.pszText[count] = L'\0';
}

int VirtualListView::FindTypedRow(const NMLVFINDITEMW& find) const {
  if ((find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || find.lvfi.psz == nullptr ||
      source_ == nullptr) {
    return -1;
  }
  const int rows = source_->RowCount();
  if (rows == 0 || source_->ColumnCount() == 0) return -1;
  const std::string typed = util::AsciiLower(WideToUtf8(find.lvfi.psz));
  const bool partial = (find.lvfi.flags & LVFI_PARTIAL) != 0;
  const int start = find.iStart >= 0 && find.iStart < rows ? find.iStart : 0;
  for (int step = 0; step < rows; ++step) {
    const int row = (start + step) % rows;
    const std::string caption = util::AsciiLower(source_->Cell(row, 0));
    if (partial ? caption.starts_with(typed) : caption == typed) return row;
  }
  return -1;
}

int VirtualListView::HeaderColumnCount() const {
  HWND header = reinterpret_cast<HWND>(SendMessageW(listView_, LVM_GETHEADER, 0, 0));
  if (header == nullptr) return 0;
  const LRESULT count = SendMessageW(header, HDM_GETITEMCOUNT, 0, 0);
  return count < 0 ? 0 : static_cast<int>(count);
}

void VirtualListView::RemoveAllColumns() {
  for (int i = HeaderColumnCount() - 1; i >= 0; --i) {
    SendMessageW(listView_, LVM_DELETECOLUMN, static_cast<WPARAM>(i), 0);
  }
}

void VirtualListView::AddColumn(const std::string& caption, int width) {
  std::wstring text = Utf8ToWide(caption);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = LVCFMT_LEFT;
  column.cx = width;
  column.pszText = text.data();
  const int index = HeaderColumnCount();
  SendMessageW(listView_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&column));
}

void VirtualListView::SetColumnCaption(int column, const std::string& caption) {
  // Through the header, which leaves its image alone (a list view may rewrite the whole
  // header format when a column changes).
  HWND header = reinterpret_cast<HWND>(SendMessageW(listView_, LVM_GETHEADER, 0, 0));
  if (header == nullptr) return;
  std::wstring text = Utf8ToWide(caption);
  HDITEMW item{};
  item.mask = HDI_TEXT;
  item.pszText = text.data();
  SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
}

void VirtualListView::SetHeaderImage(int column, int image) {
  // Set on the header itself: the list view's column format does not reach the header's image
  // flags everywhere.
  HWND header = reinterpret_cast<HWND>(SendMessageW(listView_, LVM_GETHEADER, 0, 0));
  if (header == nullptr) return;
  HDITEMW item{};
  item.mask = HDI_FORMAT;
  if (!SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column),
                    reinterpret_cast<LPARAM>(&item)))
    return;
  item.mask = HDI_FORMAT | HDI_IMAGE;
  if (image >= 0) {
    item.fmt |= HDF_IMAGE | HDF_BITMAP_ON_RIGHT;
    item.iImage = image;
  } else {
    item.fmt &= ~(HDF_IMAGE | HDF_BITMAP_ON_RIGHT);
    item.iImage = I_IMAGENONE;
  }
  SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
}

int VirtualListView::HeaderImage(int column) const {
  HWND header = reinterpret_cast<HWND>(SendMessageW(listView_, LVM_GETHEADER, 0, 0));
  if (header == nullptr) return -1;
  HDITEMW item{};
  item.mask = HDI_FORMAT | HDI_IMAGE;
  if (!SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column),
                    reinterpret_cast<LPARAM>(&item)))
    return -1;
  return (item.fmt & HDF_IMAGE) != 0 ? item.iImage : -1;
}

int VirtualListView::RowCount() const {
  return source_ != nullptr ? source_->RowCount() : 0;
}

int VirtualListView::ColumnCount() const {
  return HeaderColumnCount();
}

std::string VirtualListView::Caption(int row) const {
  return ValidRow(row) && source_->ColumnCount() > 0 ? source_->Cell(row, 0) : std::string();
}

int VirtualListView::SubItemCount(int row) const {
  return ValidRow(row) ? std::max(0, source_->ColumnCount() - 1) : 0;
}

std::string VirtualListView::SubItemText(int row, int subItem) const {
  if (!ValidRow(row) || subItem < 0 || subItem + 1 >= source_->ColumnCount()) return {};
  return source_->Cell(row, subItem + 1);
}

int VirtualListView::SelectedRow() const {
  return static_cast<int>(
      SendMessageW(listView_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int VirtualListView::FocusedRow() const {
  return static_cast<int>(
      SendMessageW(listView_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void VirtualListView::SetFocusedRow(int row) {
  LVITEMW item{};
  item.stateMask = LVIS_FOCUSED;
  item.state = LVIS_FOCUSED;
  SendMessageW(listView_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&item));
}

void VirtualListView::SetSelectedRow(int row) {
  LVITEMW clear{};
  clear.stateMask = LVIS_SELECTED;
  SendMessageW(listView_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(&clear));
  if (row < 0) return;
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  SendMessageW(listView_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&item));
}

util::ListViewStyle VirtualListView::Style() const {
  switch (GetWindowLongPtrW(listView_, GWL_STYLE) & LVS_TYPEMASK) {
    case LVS_ICON:
      return util::ListViewStyle::Icon;
    case LVS_SMALLICON:
      return util::ListViewStyle::SmallIcon;
    case LVS_LIST:
      return util::ListViewStyle::List;
    default:
      return util::ListViewStyle::Report;
  }
}

std::optional<int> VirtualListView::FirstRowHeight() const {
  if (RowCount() == 0) return std::nullopt;
  RECT bounds{};
  bounds.left = LVIR_BOUNDS;
  if (!SendMessageW(listView_, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&bounds)))
    return std::nullopt;
  return bounds.bottom - bounds.top;
}

int VirtualListView::ClientHeight() const {
  RECT client{};
  GetClientRect(listView_, &client);
  return client.bottom - client.top;
}

int VirtualListView::CountPerPage() const {
  return static_cast<int>(SendMessageW(listView_, LVM_GETCOUNTPERPAGE, 0, 0));
}

int VirtualListView::TopRow() const {
  if (RowCount() == 0) return -1;
  return static_cast<int>(SendMessageW(listView_, LVM_GETTOPINDEX, 0, 0));
}

void VirtualListView::ScrollVertical(int pixels) {
  SendMessageW(listView_, LVM_SCROLL, 0, pixels);
}

}  // namespace brevane::framework::win32
