#include "app/win32/list_box_instance_list.h"

#include "framework/win32/encoding.h"

namespace brevane::app::win32 {

int ListBoxInstanceList::Count() const {
  const LRESULT count = SendMessageW(listBox_, LB_GETCOUNT, 0, 0);
  return count == LB_ERR ? 0 : static_cast<int>(count);
}

void ListBoxInstanceList::Append(const std::string& line) {
  const std::wstring wide = framework::win32::Utf8ToWide(line);
  SendMessageW(listBox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void ListBoxInstanceList::ReplaceLast(const std::string& line) {
  const int count = Count();
  if (count == 0) return;
  // Keep the selection where it was: replacing the progress line must not move it.
  const LRESULT selected = SendMessageW(listBox_, LB_GETCURSEL, 0, 0);
  SendMessageW(listBox_, LB_DELETESTRING, static_cast<WPARAM>(count - 1), 0);
  const std::wstring wide = framework::win32::Utf8ToWide(line);
  SendMessageW(listBox_, LB_INSERTSTRING, static_cast<WPARAM>(count - 1),
               reinterpret_cast<LPARAM>(wide.c_str()));
  if (selected == count - 1) SendMessageW(listBox_, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void ListBoxInstanceList::DeleteLast() {
  const int count = Count();
  if (count > 0) SendMessageW(listBox_, LB_DELETESTRING, static_cast<WPARAM>(count - 1), 0);
}

void ListBoxInstanceList::Clear() {
  SendMessageW(listBox_, LB_RESETCONTENT, 0, 0);
}

void ListBoxInstanceList::BeginUpdate() {
  if (updateDepth_++ == 0) redraw_.emplace(listBox_);
}

void ListBoxInstanceList::EndUpdate() {
  if (updateDepth_ > 0 && --updateDepth_ == 0) redraw_.reset();
}

}  // namespace brevane::app::win32
