#pragma once
// The namespace tree's model: one node per namespace of the current computer, children asked
// for once per node (again only when the user reloads it), namespaces that refused marked, and
// the way down to the current namespace at start-up. The tree view mirrors it; the model
// decides.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevane::app {

using NamespaceNodeId = size_t;

// What the children listing learnt of one child: its Name and, when it was looked into,
// whether it has children of its own or refused the connection.
struct NamespaceChild {
  std::string name;
  bool probed = false;      // the fields below are known
  bool hasChildren = true;  // unknown counts as maybe
  bool refused = false;
  std::string error;  // why it refused
};

enum class NamespaceLoad { NotLoaded, Loading, Loaded, Failed };

struct NamespaceNode {
  std::string name;      // as shown
  std::string fullName;  // "root\cimv2"
  std::optional<NamespaceNodeId> parent;
  std::vector<NamespaceNodeId> children;  // sorted by name, case ignored
  NamespaceLoad load = NamespaceLoad::NotLoaded;
  bool hasChildren = true;
  bool refused = false;
  std::string error;  // the refusal, or why the children could not be listed
  bool live = true;   // false once a reload dropped it
};

class NamespaceTree {
 public:
  // The root node "root" alone; `target` is the namespace to open down to, if any.
  explicit NamespaceTree(std::string_view target = {});

  // A new computer: everything goes, the root stays unloaded.
  void Reset(std::string_view target);

  NamespaceNodeId Root() const { return 0; }
  const NamespaceNode& Node(NamespaceNodeId id) const { return nodes_.at(id); }
  bool Valid(NamespaceNodeId id) const { return id < nodes_.size() && nodes_[id].live; }
  // A live node by full name, case ignored.
  std::optional<NamespaceNodeId> Find(std::string_view fullName) const;

  // The node expands: true when its children must be asked for now (the first time only).
  bool BeginLoad(NamespaceNodeId id);
  // F5 on the node: its children and everything below go, and the listing starts again.
  // Returns the dropped nodes (the view removes their items).
  std::vector<NamespaceNodeId> Reload(NamespaceNodeId id);

  // The answer for a node that is loading; anything else (a dropped node, a node loaded since)
  // is ignored and gives no ids. Unusable and repeated names are left out; the step on the way
  // to the target is added when the listing did not name it (a namespace the user reached
  // need not be listed to exist). Returns the new children.
  std::vector<NamespaceNodeId> ChildrenLoaded(NamespaceNodeId id,
                                              std::vector<NamespaceChild> children);
  // The listing failed: refused (the namespace itself refused the connection) marks the node.
  void LoadFailed(NamespaceNodeId id, bool refused, std::string error);
  // Choosing a node found that it refuses: marked, without touching its children.
  void MarkRefused(NamespaceNodeId id, std::string error);

  // Start-up: the next node to expand on the way to the target (a node on the way whose
  // children are not loaded), or none when the target is reached or cannot be.
  std::optional<NamespaceNodeId> NextToOpen() const;
  // The target's node once it exists.
  std::optional<NamespaceNodeId> TargetNode() const;
  // The user chose another node: the way down is no longer followed.
  void ForgetTarget() { targetSteps_.clear(); }

 private:
  NamespaceNodeId Add(NamespaceNodeId parent, const NamespaceChild& child);
  void Drop(NamespaceNodeId id);

  std::vector<NamespaceNode> nodes_;
  std::vector<std::string> targetSteps_;  // full names from "root" down to the target
};

}  // namespace brevane::app
