#include "app/win32/class_search_window.h"

#include <commctrl.h>

#include <utility>

#include "app/win32/view_controls.h"
#include "dialogs/win32/dialog_template.h"
#include "framework/win32/control_adapters.h"
#include "framework/win32/controls.h"
#include "framework/win32/encoding.h"
#include "util/text.h"

namespace brevane::app::win32 {

namespace {

// Rows the hit list holds; more hits are counted, not listed (a pattern of one letter).
constexpr size_t kMaxHitRows = 100000;

dialogs::win32::DialogSpec SearchSpec() {
  using dialogs::win32::DesignRect;
  using W = ClassSearchWindow;
  dialogs::win32::DialogSpec form;
  form.caption = L"在所有命名空间中查找类";
  form.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
  form.exStyle = 0;
  form.clientSize = {520, 400};
  form.controls = {
      {W::kTextLabel, L"STATIC", L"类名:", SS_LEFT | SS_NOPREFIX, 0, DesignRect(8, 12, 44, 13)},
      {W::kText, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER, 0,
       DesignRect(54, 9, 288, 21)},
      {W::kFindButton, L"BUTTON", L"查找", BS_DEFPUSHBUTTON | WS_TABSTOP, 0,
       DesignRect(352, 7, 75, 25)},
      {W::kStopButton, L"BUTTON", L"停止", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 0,
       DesignRect(435, 7, 75, 25)},
      {W::kHits, WC_LISTVIEWW, L"",
       LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | WS_TABSTOP | WS_BORDER, 0,
       DesignRect(8, 40, 504, 250)},
      {W::kCount, L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, 0,
       DesignRect(8, 296, 504, 16)},
      {W::kRefused, L"EDIT", L"",
       ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP | WS_BORDER, 0,
       DesignRect(8, 316, 504, 76)},
  };
  return form;
}

}  // namespace

ClassSearchWindow::ClassSearchWindow(std::unique_ptr<wmi::ClassSearchWalk> walk, OpenHandler open)
    : walk_(std::move(walk)), open_(std::move(open)) {}

ClassSearchWindow::~ClassSearchWindow() {
  BeginShutdown();
  Destroy();
}

bool ClassSearchWindow::Create(HWND owner) {
  return CreateKept(SearchSpec(), owner);
}

void ClassSearchWindow::OnInitDialog() {
  HWND hits = Item(kHits);
  SendMessageW(hits, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
  AddReportColumn(hits, 0, L"命名空间", 220);
  AddReportColumn(hits, 1, L"类", 260);
  SendMessageW(Item(kText), EM_LIMITTEXT, 256, 0);
}

void ClassSearchWindow::Show(const wmi::ConnectionParams& conn) {
  if (Handle() == nullptr) return;
  // Another computer: what was found belongs to the one before.
  if (wmi::HostKey(conn.host) != wmi::HostKey(conn_.host) || conn.user != conn_.user) {
    OnStop();
    ListView_DeleteAllItems(Item(kHits));
    hits_.clear();
    SetDlgItemTextW(Handle(), kCount, L"");
    SetDlgItemTextW(Handle(), kRefused, L"");
  }
  conn_ = conn;
  if (!IsWindowVisible(Handle()))
    dialogs::win32::CenterWindow(Handle(), GetWindow(Handle(), GW_OWNER));
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(kText)), TRUE);
}

bool ClassSearchWindow::PreTranslate(MSG& message) {
  return Handle() != nullptr && IsWindowVisible(Handle()) && IsDialogMessageW(Handle(), &message);
}

void ClassSearchWindow::OnCommand(int id, int notification, HWND) {
  if (notification != BN_CLICKED) return;
  switch (id) {
    case kFindButton:
      OnEnter();
      return;
    case kStopButton:
      OnStop();
      return;
    case kCloseCommand:
      // Esc (or the close box) stops a running search; once stopped, it hides the dialog.
      if (walk_->Running()) {
        OnStop();
        return;
      }
      ShowWindow(Handle(), SW_HIDE);
      return;
    default:
      return;
  }
}

INT_PTR ClassSearchWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) {
    const auto& header = *reinterpret_cast<NMHDR*>(lParam);
    if (header.idFrom == kHits && header.code == NM_DBLCLK) OpenSelectedHit();
    return TRUE;
  }
  return DialogWindow::HandleMessage(message, wParam, lParam);
}

void ClassSearchWindow::OnEnter() {
  // Enter on the hit list opens the hit; anywhere else it searches.
  if (GetFocus() == Item(kHits)) {
    OpenSelectedHit();
    return;
  }
  OnFind();
}

void ClassSearchWindow::OnFind() {
  const std::string pattern = util::Trim(framework::win32::GetWindowTextUtf8(Item(kText)));
  if (pattern.empty()) {
    SetDlgItemTextW(Handle(), kCount, L"请输入类名的一部分。");
    return;
  }
  ListView_DeleteAllItems(Item(kHits));
  hits_.clear();
  refusedShown_ = 0;
  SetDlgItemTextW(Handle(), kRefused, L"");
  walk_->Start(
      conn_, pattern,
      {[this](std::vector<wmi::ClassHit>&& hits) { AddHits(std::move(hits)); },
       [this](const wmi::NamespaceSearch& search) { ShowProgress(search, walk_->Running()); },
       [this](const wmi::NamespaceSearch& search) {
         ShowProgress(search, false);
         UpdateButtons();
       }});
  if (const auto* search = walk_->Search()) ShowProgress(*search, true);
  UpdateButtons();
}

void ClassSearchWindow::OnStop() {
  if (!walk_->Running()) return;
  walk_->Stop();
  if (const auto* search = walk_->Search()) ShowProgress(*search, false);
  UpdateButtons();
}

void ClassSearchWindow::UpdateButtons() {
  EnableWindow(Item(kStopButton), walk_->Running() ? TRUE : FALSE);
}

void ClassSearchWindow::AddHits(std::vector<wmi::ClassHit>&& hits) {
  HWND list = Item(kHits);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  for (auto& hit : hits) {
    if (hits_.size() >= kMaxHitRows) break;
    const int row = static_cast<int>(hits_.size());
    const std::wstring ns = framework::win32::Utf8ToWide(hit.ns);
    const std::wstring name = framework::win32::Utf8ToWide(hit.className);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(ns.c_str());
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 1;
    item.pszText = const_cast<wchar_t*>(name.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    hits_.push_back(std::move(hit));
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  if (const auto* search = walk_->Search()) ShowProgress(*search, walk_->Running());
}

void ClassSearchWindow::ShowProgress(const wmi::NamespaceSearch& search, bool running) {
  framework::win32::SetWindowTextUtf8(Item(kCount), wmi::NamespaceSearchSummary(search, running));
  const auto& refused = search.RefusedList();
  if (refused.size() == refusedShown_) return;
  std::string text;
  for (const auto& entry : refused) text += entry.ns + ": " + entry.error + "\r\n";
  refusedShown_ = refused.size();
  framework::win32::SetWindowTextUtf8(Item(kRefused), text);
}

void ClassSearchWindow::OpenSelectedHit() {
  const int row = static_cast<int>(
      SendMessageW(Item(kHits), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (row < 0 || static_cast<size_t>(row) >= hits_.size() || !open_) return;
  const wmi::ClassHit hit = hits_[static_cast<size_t>(row)];
  open_(hit.ns, hit.className);
}

void ClassSearchWindow::BeginShutdown() {
  if (walk_) walk_->BeginShutdown();
}

bool ClassSearchWindow::FinishShutdown(std::chrono::steady_clock::time_point deadline) {
  return !walk_ || walk_->FinishShutdown(deadline);
}

}  // namespace brevane::app::win32
