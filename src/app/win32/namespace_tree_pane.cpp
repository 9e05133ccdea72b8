#include "app/win32/namespace_tree_pane.h"

#include <utility>

#include "framework/win32/controls.h"
#include "framework/win32/encoding.h"
#include "wmi/namespace_path.h"

namespace brevane::app::win32 {

namespace {

// The connection the tree shows: the same computer as the same user.
bool SameTreeConnection(const wmi::ConnectionParams& a, const wmi::ConnectionParams& b) {
  return wmi::HostKey(a.host) == wmi::HostKey(b.host) && a.user == b.user &&
         a.password == b.password;
}

}  // namespace

NamespaceTreePane::NamespaceTreePane(wmi::RequestWorker& worker, Callbacks callbacks)
    : worker_(worker), callbacks_(std::move(callbacks)) {}

void NamespaceTreePane::Create(HWND parent, int id, HFONT font) {
  tree_ = framework::win32::CreateChild(parent, WC_TREEVIEWW, "",
                                        WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | TVS_HASBUTTONS |
                                            TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                                        WS_EX_CLIENTEDGE, id, font);
}

void NamespaceTreePane::ShowConnection(const wmi::ConnectionParams& conn) {
  if (!built_ || !SameTreeConnection(conn, conn_)) {
    Rebuild(conn);
    return;
  }
  conn_.ns = conn.ns;
  if (const auto node = model_.Find(conn.ns); node && items_[*node] != nullptr) {
    SelectQuietly(*node);
    return;
  }
  Rebuild(conn);  // a namespace the tree has not reached yet: opened down to it afresh
}

void NamespaceTreePane::Rebuild(const wmi::ConnectionParams& conn) {
  worker_.Cancel();
  ++epoch_;
  loads_.clear();
  loading_ = false;
  conn_ = conn;
  built_ = true;
  selecting_ = true;
  TreeView_DeleteAllItems(tree_);
  selecting_ = false;
  items_.clear();
  model_.Reset(conn.ns);
  InsertItem(model_.Root());
  if (model_.BeginLoad(model_.Root())) QueueLoad(model_.Root());
}

void NamespaceTreePane::InsertItem(NamespaceNodeId id) {
  const NamespaceNode& node = model_.Node(id);
  if (items_.size() <= id) items_.resize(id + 1, nullptr);
  const std::wstring text = framework::win32::Utf8ToWide(node.name);
  TVINSERTSTRUCTW insert{};
  insert.hParent = node.parent ? items_[*node.parent] : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
  insert.item.pszText = const_cast<wchar_t*>(text.c_str());
  insert.item.lParam = static_cast<LPARAM>(id);
  insert.item.cChildren = node.hasChildren && !node.refused ? 1 : 0;
  items_[id] = TreeView_InsertItem(tree_, &insert);
}

void NamespaceTreePane::UpdateItem(NamespaceNodeId id) {
  if (!model_.Valid(id) || items_[id] == nullptr) return;
  const NamespaceNode& node = model_.Node(id);
  TVITEMW item{};
  item.mask = TVIF_CHILDREN | TVIF_HANDLE;
  item.hItem = items_[id];
  item.cChildren = node.load == NamespaceLoad::Loaded ? (node.children.empty() ? 0 : 1)
                                                      : (node.hasChildren && !node.refused ? 1 : 0);
  TreeView_SetItem(tree_, &item);
  RECT bounds{};
  if (TreeView_GetItemRect(tree_, items_[id], &bounds, FALSE)) InvalidateRect(tree_, &bounds, TRUE);
}

void NamespaceTreePane::QueueLoad(NamespaceNodeId id) {
  loads_.push_back(id);
  StartNextLoad();
}

void NamespaceTreePane::StartNextLoad() {
  while (!loading_ && !loads_.empty()) {
    const NamespaceNodeId id = loads_.front();
    loads_.pop_front();
    if (!model_.Valid(id) || model_.Node(id).load != NamespaceLoad::Loading) continue;
    loading_ = true;
    wmi::ConnectionParams conn = conn_;
    conn.ns = model_.Node(id).fullName;
    if (callbacks_.status) callbacks_.status("正在读取 " + conn.ns + " 的子命名空间...");
    wmi::StartNamespaceChildren(worker_, conn,
                                [this, epoch = epoch_, id](wmi::NamespaceChildrenAnswer&& answer) {
                                  OnChildren(epoch, id, std::move(answer));
                                });
  }
}

void NamespaceTreePane::OnChildren(uint64_t epoch, NamespaceNodeId id,
                                   wmi::NamespaceChildrenAnswer&& answer) {
  if (epoch != epoch_) return;
  loading_ = false;
  if (answer.ok) {
    std::vector<NamespaceChild> children;
    children.reserve(answer.children.size());
    for (auto& child : answer.children) {
      children.push_back({std::move(child.name), child.probed, child.hasChildren, child.refused,
                          std::move(child.error)});
    }
    model_.ChildrenLoaded(id, std::move(children));
    if (model_.Valid(id)) {
      for (NamespaceNodeId child : model_.Node(id).children) {
        if (child >= items_.size() || items_[child] == nullptr) InsertItem(child);
      }
    }
    if (callbacks_.status) callbacks_.status("");
  } else {
    model_.LoadFailed(id, answer.refused, answer.error);
    if (callbacks_.status && model_.Valid(id))
      callbacks_.status(model_.Node(id).fullName + ": " + answer.error);
  }
  UpdateItem(id);
  if (model_.Valid(id) && !model_.Node(id).children.empty())
    TreeView_Expand(tree_, items_[id], TVE_EXPAND);
  FollowTarget();
  StartNextLoad();
}

void NamespaceTreePane::FollowTarget() {
  if (const auto next = model_.NextToOpen()) {
    if (model_.BeginLoad(*next)) QueueLoad(*next);
    return;
  }
  if (const auto target = model_.TargetNode()) {
    SelectQuietly(*target);
    model_.ForgetTarget();
  }
}

void NamespaceTreePane::SelectQuietly(NamespaceNodeId id) {
  if (!model_.Valid(id) || items_[id] == nullptr) return;
  selecting_ = true;
  TreeView_SelectItem(tree_, items_[id]);
  TreeView_EnsureVisible(tree_, items_[id]);
  selecting_ = false;
}

void NamespaceTreePane::ReloadSelected() {
  const auto id = NodeOf(TreeView_GetSelection(tree_));
  if (!id) return;
  selecting_ = true;
  for (HTREEITEM child = TreeView_GetChild(tree_, items_[*id]); child != nullptr;) {
    HTREEITEM next = TreeView_GetNextSibling(tree_, child);
    TreeView_DeleteItem(tree_, child);
    child = next;
  }
  selecting_ = false;
  for (NamespaceNodeId dropped : model_.Reload(*id)) {
    if (dropped < items_.size()) items_[dropped] = nullptr;
  }
  UpdateItem(*id);
  QueueLoad(*id);
}

std::optional<NamespaceNodeId> NamespaceTreePane::NodeOf(HTREEITEM item) const {
  if (item == nullptr) return std::nullopt;
  TVITEMW data{};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  if (!TreeView_GetItem(tree_, &data)) return std::nullopt;
  const auto id = static_cast<NamespaceNodeId>(data.lParam);
  if (!model_.Valid(id) || id >= items_.size() || items_[id] != item) return std::nullopt;
  return id;
}

bool NamespaceTreePane::OnNotify(NMHDR& header, LRESULT& result) {
  if (tree_ == nullptr || header.hwndFrom != tree_) return false;
  switch (header.code) {
    case TVN_ITEMEXPANDINGW:
      OnExpanding(reinterpret_cast<NMTREEVIEWW&>(header));
      break;
    case TVN_SELCHANGEDW:
      OnSelectionChanged(reinterpret_cast<NMTREEVIEWW&>(header));
      break;
    case NM_CUSTOMDRAW:
      result = OnCustomDraw(reinterpret_cast<NMTVCUSTOMDRAW&>(header));
      break;
    default:
      break;
  }
  return true;
}

void NamespaceTreePane::OnExpanding(const NMTREEVIEWW& change) {
  if ((change.action & TVE_EXPAND) == 0) return;
  const auto id = NodeOf(change.itemNew.hItem);
  if (id && model_.BeginLoad(*id)) QueueLoad(*id);
}

void NamespaceTreePane::OnSelectionChanged(const NMTREEVIEWW& change) {
  if (selecting_ || change.action == TVC_UNKNOWN) return;
  const auto id = NodeOf(change.itemNew.hItem);
  if (!id) return;
  model_.ForgetTarget();
  const NamespaceNode& node = model_.Node(*id);
  if (node.refused) {
    if (callbacks_.status) callbacks_.status(node.fullName + ": " + node.error);
    return;
  }
  if (callbacks_.chosen) callbacks_.chosen(node.fullName);
}

LRESULT NamespaceTreePane::OnCustomDraw(NMTVCUSTOMDRAW& draw) const {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const auto id = static_cast<NamespaceNodeId>(draw.nmcd.lItemlParam);
      if (model_.Valid(id) && model_.Node(id).refused) draw.clrText = GetSysColor(COLOR_GRAYTEXT);
      return CDRF_DODEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

}  // namespace brevane::app::win32
