#include "app/namespace_tree.h"

#include <algorithm>

#include "util/text.h"
#include "wmi/namespace_path.h"

namespace brevane::app {

namespace {
// A node lists at most this many children: more is a hostile or broken provider.
constexpr size_t kMaxChildren = 10000;
constexpr const char* kRootName = "root";
}  // namespace

NamespaceTree::NamespaceTree(std::string_view target) {
  Reset(target);
}

void NamespaceTree::Reset(std::string_view target) {
  nodes_.clear();
  NamespaceNode root;
  root.name = root.fullName = kRootName;
  nodes_.push_back(std::move(root));
  targetSteps_ = wmi::NamespaceSteps(target);
  if (!targetSteps_.empty() && !wmi::SameNamespace(targetSteps_.front(), kRootName))
    targetSteps_.clear();
}

std::optional<NamespaceNodeId> NamespaceTree::Find(std::string_view fullName) const {
  const std::string wanted = util::AsciiLower(fullName);
  for (NamespaceNodeId id = 0; id < nodes_.size(); ++id) {
    if (nodes_[id].live && util::AsciiLower(nodes_[id].fullName) == wanted) return id;
  }
  return std::nullopt;
}

bool NamespaceTree::BeginLoad(NamespaceNodeId id) {
  if (!Valid(id)) return false;
  NamespaceNode& node = nodes_[id];
  if (node.load != NamespaceLoad::NotLoaded) return false;
  node.load = NamespaceLoad::Loading;
  return true;
}

std::vector<NamespaceNodeId> NamespaceTree::Reload(NamespaceNodeId id) {
  std::vector<NamespaceNodeId> dropped;
  if (!Valid(id)) return dropped;
  for (NamespaceNodeId child : nodes_[id].children) {
    dropped.push_back(child);
    Drop(child);
  }
  NamespaceNode& node = nodes_[id];
  node.children.clear();
  node.refused = false;
  node.error.clear();
  node.hasChildren = true;
  node.load = NamespaceLoad::Loading;
  return dropped;
}

void NamespaceTree::Drop(NamespaceNodeId id) {
  nodes_[id].live = false;
  for (NamespaceNodeId child : nodes_[id].children) Drop(child);
}

NamespaceNodeId NamespaceTree::Add(NamespaceNodeId parent, const NamespaceChild& child) {
  NamespaceNode node;
  node.name = child.name;
  node.fullName = wmi::ChildNamespace(nodes_[parent].fullName, child.name);
  node.parent = parent;
  if (child.probed) {
    node.hasChildren = child.hasChildren && !child.refused;
    node.refused = child.refused;
    node.error = child.error;
    if (child.refused) node.load = NamespaceLoad::Failed;
  }
  nodes_.push_back(std::move(node));
  return nodes_.size() - 1;
}

std::vector<NamespaceNodeId> NamespaceTree::ChildrenLoaded(NamespaceNodeId id,
                                                           std::vector<NamespaceChild> children) {
  std::vector<NamespaceNodeId> added;
  if (!Valid(id) || nodes_[id].load != NamespaceLoad::Loading) return added;
  // A copy: adding children grows nodes_ and moves the node.
  const std::string fullName = nodes_[id].fullName;
  // The step towards the target below this node, when the listing left it out.
  for (size_t i = 0; i + 1 < targetSteps_.size(); ++i) {
    if (!wmi::SameNamespace(targetSteps_[i], fullName)) continue;
    NamespaceChild step;
    step.name = wmi::NamespaceLeaf(targetSteps_[i + 1]);
    children.push_back(std::move(step));
  }
  std::stable_sort(children.begin(), children.end(), [](const auto& a, const auto& b) {
    return util::AsciiLower(a.name) < util::AsciiLower(b.name);
  });
  std::string previous;
  bool first = true;
  for (const NamespaceChild& child : children) {
    if (added.size() >= kMaxChildren) break;
    if (!wmi::UsableChildName(child.name) ||
        fullName.size() + 1 + child.name.size() > wmi::kMaxNamespaceLength)
      continue;
    const std::string folded = util::AsciiLower(child.name);
    if (!first && folded == previous) continue;  // the listed one comes before the added step
    first = false;
    previous = folded;
    added.push_back(Add(id, child));
  }
  NamespaceNode& node = nodes_[id];
  node.children = added;
  node.load = NamespaceLoad::Loaded;
  node.hasChildren = !added.empty();
  return added;
}

void NamespaceTree::LoadFailed(NamespaceNodeId id, bool refused, std::string error) {
  if (!Valid(id) || nodes_[id].load != NamespaceLoad::Loading) return;
  NamespaceNode& node = nodes_[id];
  node.load = NamespaceLoad::Failed;
  node.refused = refused;
  node.error = std::move(error);
  node.hasChildren = false;
}

void NamespaceTree::MarkRefused(NamespaceNodeId id, std::string error) {
  if (!Valid(id)) return;
  nodes_[id].refused = true;
  nodes_[id].error = std::move(error);
}

std::optional<NamespaceNodeId> NamespaceTree::NextToOpen() const {
  for (size_t i = 0; i + 1 < targetSteps_.size(); ++i) {
    const auto step = Find(targetSteps_[i]);
    if (!step) return std::nullopt;
    const NamespaceNode& node = nodes_[*step];
    if (node.refused || node.load == NamespaceLoad::Failed) return std::nullopt;
    if (node.load != NamespaceLoad::Loaded) return step;
  }
  return std::nullopt;
}

std::optional<NamespaceNodeId> NamespaceTree::TargetNode() const {
  if (targetSteps_.empty()) return std::nullopt;
  return Find(targetSteps_.back());
}

}  // namespace brevane::app
