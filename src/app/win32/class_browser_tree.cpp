// The namespace tree on the classes tab: created beside the class filter and the class list,
// its splitter, and what choosing a namespace in it does.
#include <algorithm>
#include <utility>

#include "app/win32/class_browser_view.h"
#include "app/win32/command_ids.h"
#include "app/win32/view_controls.h"
#include "framework/win32/controls.h"
#include "framework/win32/dpi.h"

namespace brevane::app::win32 {

namespace {
constexpr int kMinTreeWidth = 40;
constexpr int kMinClassListWidth = 80;
}  // namespace

void ClassBrowserView::CreateNamespaceTree(HFONT font) {
  if (namespaceWorker_ == nullptr) return;
  NamespaceTreePane::Callbacks callbacks;
  callbacks.chosen = [this](const std::string& ns) { host_.ChooseNamespace(ns); };
  callbacks.status = [this](const std::string& text) { host_.SetStatus(2, text); };
  namespaceTree_ = std::make_unique<NamespaceTreePane>(*namespaceWorker_, std::move(callbacks));
  namespaceTree_->Create(host_.Frame(), kIdNamespaceTree, font);
  treeSplitter_.Create(host_.Frame(), framework::win32::Splitter::Orientation::Vertical,
                       [this](int position) { OnTreeSplitterDrag(position); });
}

RECT ClassBrowserView::LayoutNamespaceTree(const RECT& area) {
  if (!namespaceTree_) return area;
  const framework::win32::DpiScale scale(dpi_);
  const int splitter = scale(kSplitterSize);
  const int width = area.right - area.left;
  const int treeWidth = std::clamp(scale(treeWidth_), std::min(scale(kMinTreeWidth), width),
                                   std::max(width - splitter - scale(kMinClassListWidth), 0));
  const int treeRight = area.left + treeWidth;
  framework::win32::MoveChild(namespaceTree_->Handle(),
                              Bounds(area.left, area.top, treeRight, area.bottom));
  framework::win32::MoveChild(treeSplitter_.Handle(),
                              Bounds(treeRight, area.top, treeRight + splitter, area.bottom));
  return Bounds(treeRight + splitter, area.top, area.right, area.bottom);
}

void ClassBrowserView::OnTreeSplitterDrag(int position) {
  const framework::win32::DpiScale scale(dpi_);
  treeWidth_ = std::max(scale.ToDesign(position - page_.left), kMinTreeWidth);
  Layout(page_);
}

void ClassBrowserView::ShowTreeConnection() {
  if (namespaceTree_) namespaceTree_->ShowConnection(ConnectionOf(client_));
}

void ClassBrowserView::ShowClass(const std::string& className) {
  pendingClass_ = className;
  if (!classesLoading_) SelectPendingClass();
}

void ClassBrowserView::SelectPendingClass() {
  if (pendingClass_.empty()) return;
  const std::string name = std::exchange(pendingClass_, std::string());
  const int index = ListedClassIndex(name);
  if (index < 0) {
    host_.SetStatus(2, "The class " + name + " is not in the class list.");
    return;
  }
  classListControl_.Select(index);
  SetFocus(classList_);
  const std::string chosen = classListControl_.ItemText(index);
  if (ActionForClassClick(currentClass_, chosen) == ClassAction::LoadClass) LoadClass(chosen);
}

void ClassBrowserView::ConnectionChanged() {
  if (!tripConnecting_) DropTrip();  // the user connected or chose a namespace
  ownServerName_.clear();            // learnt again from the new connection's objects
  ShowTreeConnection();
  LoadClasses();
}

}  // namespace brevane::app::win32
