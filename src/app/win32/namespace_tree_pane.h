#pragma once
// The namespace tree left of the class list: one item per node of the NamespaceTree model.
// A node's children are listed on the tree's own worker when it first expands (one listing at
// a time, the others queued), F5 lists them again, and at start-up the tree opens down to the
// current namespace. A refusing namespace is drawn greyed; choosing it only says why.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/namespace_tree.h"
#include "wmi/namespace_children.h"
#include "wmi/request_worker.h"

namespace brevane::app::win32 {

class NamespaceTreePane {
 public:
  struct Callbacks {
    std::function<void(const std::string& ns)> chosen;    // the user chose a usable node
    std::function<void(const std::string& text)> status;  // for status panel 2
  };

  NamespaceTreePane(wmi::RequestWorker& worker, Callbacks callbacks);
  NamespaceTreePane(const NamespaceTreePane&) = delete;
  NamespaceTreePane& operator=(const NamespaceTreePane&) = delete;

  void Create(HWND parent, int id, HFONT font);
  HWND Handle() const { return tree_; }
  bool Built() const { return built_; }

  // A new computer or new credentials: the tree starts again from root, opening down to
  // conn.ns. Another namespace on the same connection is only selected, when the tree has it.
  void ShowConnection(const wmi::ConnectionParams& conn);
  // F5 in the tree: the selected node's children are listed again.
  void ReloadSelected();
  bool OnNotify(NMHDR& header, LRESULT& result);

 private:
  void Rebuild(const wmi::ConnectionParams& conn);
  void InsertItem(NamespaceNodeId id);
  void UpdateItem(NamespaceNodeId id);
  void QueueLoad(NamespaceNodeId id);
  void StartNextLoad();
  void OnChildren(uint64_t epoch, NamespaceNodeId id, wmi::NamespaceChildrenAnswer&& answer);
  // Expands the next node on the way to the target, or selects the target once it is there.
  void FollowTarget();
  void SelectQuietly(NamespaceNodeId id);
  void OnExpanding(const NMTREEVIEWW& change);
  void OnSelectionChanged(const NMTREEVIEWW& change);
  LRESULT OnCustomDraw(NMTVCUSTOMDRAW& draw) const;
  std::optional<NamespaceNodeId> NodeOf(HTREEITEM item) const;

  wmi::RequestWorker& worker_;
  Callbacks callbacks_;
  HWND tree_ = nullptr;
  NamespaceTree model_;
  std::vector<HTREEITEM> items_;  // by node id; null for nodes without an item
  std::deque<NamespaceNodeId> loads_;
  bool loading_ = false;
  uint64_t epoch_ = 0;  // a rebuild makes the answers of the tree before it stale
  bool built_ = false;
  bool selecting_ = false;  // the tree's selection is being set by the program
  wmi::ConnectionParams conn_;
};

}  // namespace brevane::app::win32
