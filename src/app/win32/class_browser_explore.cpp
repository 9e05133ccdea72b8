// The property pane's other pages: "定义", the chosen class's definition as read-only text, and
// "关联", the objects related to the chosen instance, each of which can be followed. Both are
// read on their own worker only while their page is shown, so the grid's fetches go on as before.
#include <windows.h>
#include <commctrl.h>

#include "app/win32/class_browser_view.h"
#include "app/win32/command_ids.h"
#include "app/win32/view_controls.h"
#include "framework/win32/controls.h"
#include "framework/win32/encoding.h"
#include "framework/win32/redraw_suspension.h"
#include "framework/win32/window_base.h"
#include "util/text.h"
#include "wmi/cim_type.h"
#include "wmi/object_path.h"

namespace brevane::app::win32 {

namespace {

constexpr int kGridPage = 0;
constexpr int kDefinitionPage = 1;
constexpr int kRelatedPage = 2;

bool SameText(const std::string& a, const std::string& b) {
  return util::AsciiLower(a) == util::AsciiLower(b);
}

void ResetList(HWND list, const std::vector<std::string>& lines) {
  framework::win32::RedrawSuspension quiet(list);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& line : lines) {
    const std::wstring wide = framework::win32::Utf8ToWide(line);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }
}

}  // namespace

void ClassBrowserView::CreateExplorePages(HFONT font) {
  AddTab(propertyPane_, kDefinitionPage, "定义");
  AddTab(propertyPane_, kRelatedPage, "关联");
  HWND self = host_.Frame();
  definitionText_ = framework::win32::CreateChild(
      self, WC_EDITW, "",
      WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
          ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL,
      WS_EX_CLIENTEDGE, kIdDefinitionText, font);
  // The definition of a big class is far longer than an edit control takes by default.
  SendMessageW(definitionText_, EM_SETLIMITTEXT, 0, 0);
  relatedList_ = framework::win32::CreateChild(
      self, WC_LISTBOXW, "",
      WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
      WS_EX_CLIENTEDGE, kIdRelatedList, font);
}

void ClassBrowserView::LayoutExplorePages(const RECT& area) {
  if (definitionText_ == nullptr) return;
  framework::win32::MoveChild(definitionText_, area);
  framework::win32::MoveChild(relatedList_, area);
}

void ClassBrowserView::ShowDetailPage() {
  if (definitionText_ == nullptr) return;
  ShowWindow(propertyGrid_, shown_ && detailPage_ == kGridPage ? SW_SHOW : SW_HIDE);
  ShowWindow(definitionText_, shown_ && detailPage_ == kDefinitionPage ? SW_SHOW : SW_HIDE);
  ShowWindow(relatedList_, shown_ && detailPage_ == kRelatedPage ? SW_SHOW : SW_HIDE);
}

void ClassBrowserView::OnDetailPageChanged() {
  detailPage_ = std::max(0, static_cast<int>(SendMessageW(propertyPane_, TCM_GETCURSEL, 0, 0)));
  ShowDetailPage();
  RefreshExplorePage();
}

void ClassBrowserView::RefreshExplorePage() {
  if (exploreWorker_ == nullptr || definitionText_ == nullptr) return;
  if (detailPage_ == kDefinitionPage && !currentClass_.empty() &&
      !SameText(definitionClass_, currentClass_)) {
    definitionClass_ = currentClass_;
    definitionPending_ = true;
    framework::win32::SetWindowTextUtf8(definitionText_,
                                        "Reading the definition of " + currentClass_ + "...");
    wmi::StartClassDefinition(*exploreWorker_, ConnectionOf(client_), currentClass_,
                              [this](wmi::DefinitionAnswer&& answer) {
                                host_.RunAsHandler([&] { OnDefinition(std::move(answer)); });
                              });
  }
  if (detailPage_ != kRelatedPage) return;
  const int selected = framework::win32::Win32ListBox(instanceList_).SelectedIndex();
  const std::string path = selected < 0 ? std::string() : instanceLoader_.PathOf(selected);
  if (path == relatedPath_ && !path.empty()) return;
  relatedPath_ = path;
  related_ = {};
  relatedLineObjects_.clear();
  if (path.empty()) {
    exploreWorker_->Cancel();
    definitionPending_ = relatedPending_ = false;
    ResetList(relatedList_, {"Choose an instance with a key to see the objects related to it."});
    return;
  }
  ResetList(relatedList_, {"Reading the objects related to " + path + "..."});
  relatedPending_ = true;
  wmi::StartRelatedObjects(*exploreWorker_, ConnectionOf(client_), path,
                           [this](wmi::RelatedAnswer&& answer) {
                             host_.RunAsHandler([&] { OnRelatedObjects(std::move(answer)); });
                           });
}

void ClassBrowserView::EmptyExplorePages() {
  if (exploreWorker_ != nullptr) exploreWorker_->Cancel();
  definitionPending_ = relatedPending_ = false;
  definitionClass_.clear();
  relatedPath_.clear();
  related_ = {};
  relatedLineObjects_.clear();
  if (definitionText_ == nullptr) return;
  SetWindowTextW(definitionText_, L"");
  SendMessageW(relatedList_, LB_RESETCONTENT, 0, 0);
}

void ClassBrowserView::OnDefinition(wmi::DefinitionAnswer&& answer) {
  definitionPending_ = false;
  framework::win32::SetWindowTextUtf8(definitionText_, answer.ok ? answer.text : answer.errorText);
  if (!answer.ok) definitionClass_.clear();  // a later look tries again
}

void ClassBrowserView::OnRelatedObjects(wmi::RelatedAnswer&& answer) {
  relatedPending_ = false;
  related_ = std::move(answer);
  if (!related_.server.empty()) ownServerName_ = related_.server;
  std::vector<std::string> lines;
  if (!related_.ok) {
    lines.push_back(related_.errorText);
    relatedLineObjects_.assign(1, -1);
    host_.SetStatus(2, related_.errorText);
    relatedPath_.clear();
  } else {
    lines = wmi::RelatedObjectLines(related_, relatedLineObjects_);
    if (lines.empty()) {
      lines.push_back("No related objects.");
      relatedLineObjects_.push_back(-1);
    }
    if (!related_.referencesError.empty()) {
      lines.push_back("REFERENCES OF: " + related_.referencesError);
      relatedLineObjects_.push_back(-1);
    }
  }
  ResetList(relatedList_, lines);
}

void ClassBrowserView::StopExplore() {
  if (exploreWorker_ == nullptr || (!definitionPending_ && !relatedPending_)) return;
  // The worker drops whatever the stopped request still sends.
  exploreWorker_->Cancel();
  if (definitionPending_) {
    framework::win32::SetWindowTextUtf8(definitionText_, "Stopped.");
    definitionClass_.clear();  // a later look reads it again
  }
  if (relatedPending_) {
    ResetList(relatedList_, {"Stopped."});
    relatedLineObjects_.assign(1, -1);
    relatedPath_.clear();
  }
  definitionPending_ = relatedPending_ = false;
  host_.SetStatus(2, "Stopped");
}

bool ClassBrowserView::PreTranslateKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || definitionText_ == nullptr) return false;
  const HWND control = message.hwnd;
  if (control != classList_ && control != instanceList_ && control != definitionText_ &&
      control != relatedList_) {
    return false;
  }
  if (message.wParam == VK_ESCAPE && (definitionPending_ || relatedPending_)) {
    framework::win32::RunGuarded(host_.Frame(), [&] { StopExplore(); });
    return true;
  }
  // Enter on a related object goes to it, as a double-click does (and, taken here, makes no
  // character that would beep).
  if (message.wParam == VK_RETURN && control == relatedList_) {
    framework::win32::RunGuarded(host_.Frame(), [&] {
      FollowRelated(framework::win32::Win32ListBox(control).SelectedIndex());
    });
    return true;
  }
  return false;
}

void ClassBrowserView::FollowRelated(int line) {
  if (line < 0 || static_cast<size_t>(line) >= relatedLineObjects_.size()) return;
  const int object = relatedLineObjects_[static_cast<size_t>(line)];
  if (object < 0 || static_cast<size_t>(object) >= related_.objects.size()) return;
  FollowPath(related_.objects[static_cast<size_t>(object)].path);
}

void ClassBrowserView::FollowPath(const std::string& text) {
  const wmi::ObjectPathParse parse = wmi::ParseObjectPath(text);
  if (!parse.path) {
    host_.SetStatus(2, parse.error);
    return;
  }
  GoToPlace(PlaceOfPath(*parse.path, client_.Host, client_.Namespace, ownServerName_),
            Trip::Follow);
}

void ClassBrowserView::FollowGridReference() {
  const int row = static_cast<int>(
      SendMessageW(propertyGrid_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (row < 0) return;
  const std::string type = framework::win32::ListViewText(propertyGrid_, row, 2);
  const std::string value = framework::win32::ListViewText(propertyGrid_, row, 1);
  if (!wmi::IsSingleReference(type)) {
    host_.SetStatus(2, "The value is no reference to an object.");
    return;
  }
  if (value.empty()) {
    host_.SetStatus(2, "The reference is empty.");
    return;
  }
  FollowPath(value);
}

void ClassBrowserView::SelectFollowedInstance() {
  if (followedPath_.empty()) return;
  const auto wanted = wmi::ParseObjectPath(followedPath_);
  followedPath_.clear();
  if (!wanted.path) return;
  const int count = static_cast<int>(SendMessageW(instanceList_, LB_GETCOUNT, 0, 0));
  for (int line = 0; line < count; ++line) {
    const auto have = wmi::ParseObjectPath(instanceLoader_.PathOf(line));
    if (!have.path || !wmi::SameObject(*have.path, *wanted.path)) continue;
    framework::win32::Win32ListBox(instanceList_).Select(line);
    OnInstanceChosen();
    return;
  }
  // The object is gone (or not listed): as WMI says of an object it cannot find.
  host_.SetStatus(2, panesStatus_.InstanceGone("Not found"));
}

}  // namespace brevane::app::win32
