#include "app/namespace_tree.h"

#include <gtest/gtest.h>

namespace brevane::app {
namespace {

std::vector<NamespaceChild> Named(std::initializer_list<const char*> names) {
  std::vector<NamespaceChild> children;
  for (const char* n : names) {
    NamespaceChild child;
    child.name = n;
    children.push_back(std::move(child));
  }
  return children;
}

std::vector<std::string> ChildNames(const NamespaceTree& tree, NamespaceNodeId id) {
  std::vector<std::string> names;
  for (auto child : tree.Node(id).children) names.push_back(tree.Node(child).fullName);
  return names;
}

TEST(NamespaceTreeTest, ChildrenAreAskedForOnceAndAgainOnlyOnReload) {
  NamespaceTree tree;
  EXPECT_TRUE(tree.BeginLoad(tree.Root()));
  EXPECT_FALSE(tree.BeginLoad(tree.Root()));  // a second expand while loading
  tree.ChildrenLoaded(tree.Root(), Named({"cimv2", "Brevane", "CIMV2", "", "a\\b", "Odd $&"}));
  EXPECT_EQ(ChildNames(tree, tree.Root()),
            (std::vector<std::string>{"root\\Brevane", "root\\cimv2", "root\\Odd $&"}));
  EXPECT_FALSE(tree.BeginLoad(tree.Root()));

  const auto brevane = *tree.Find("ROOT\\brevane");
  ASSERT_TRUE(tree.BeginLoad(brevane));
  tree.ChildrenLoaded(brevane, Named({"Deep"}));
  const auto deep = *tree.Find("root\\Brevane\\Deep");

  const auto dropped = tree.Reload(tree.Root());
  EXPECT_EQ(dropped.size(), 3u);
  EXPECT_FALSE(tree.Valid(deep));
  EXPECT_FALSE(tree.Find("root\\Brevane\\Deep"));
  // A late answer for a dropped node changes nothing.
  EXPECT_TRUE(tree.ChildrenLoaded(brevane, Named({"Late"})).empty());
  EXPECT_EQ(tree.ChildrenLoaded(tree.Root(), Named({"cimv2"})).size(), 1u);
}

TEST(NamespaceTreeTest, RefusedNodesAreMarkedNotExpanded) {
  NamespaceTree tree;
  tree.BeginLoad(tree.Root());
  auto children = Named({"Secret", "cimv2"});
  children[0].probed = true;
  children[0].refused = true;
  children[0].error = "Access is denied";
  children[1].probed = true;
  children[1].hasChildren = false;
  tree.ChildrenLoaded(tree.Root(), std::move(children));
  const auto& secret = tree.Node(*tree.Find("root\\Secret"));
  EXPECT_TRUE(secret.refused);
  EXPECT_FALSE(secret.hasChildren);
  EXPECT_EQ(secret.error, "Access is denied");
  EXPECT_FALSE(tree.BeginLoad(*tree.Find("root\\Secret")));
  EXPECT_FALSE(tree.Node(*tree.Find("root\\cimv2")).hasChildren);

  const auto cimv2 = *tree.Find("root\\cimv2");
  tree.Reload(cimv2);
  tree.LoadFailed(cimv2, true, "Invalid namespace");
  EXPECT_TRUE(tree.Node(cimv2).refused);
}

TEST(NamespaceTreeTest, StartUpOpensDownToTheCurrentNamespace) {
  const struct {
    const char* target;
    bool listedByWmi;  // false: WMI does not list children (the step is added)
    const char* reached;
  } cases[] = {
      {"root\\Brevane\\Deep", true, "root\\Brevane\\Deep"},
      {"ROOT/brevane/deep", true, "root\\Brevane\\Deep"},
      {"root\\cimv2", false, "root\\cimv2"},
      {"\\\\server\\root\\Brevane", true, "root\\Brevane"},
      {"other\\ns", true, ""},
      {"root", true, "root"},
  };
  for (const auto& c : cases) {
    NamespaceTree tree(c.target);
    int expands = 0;
    while (auto next = tree.NextToOpen()) {
      ASSERT_LT(++expands, 5) << c.target;
      ASSERT_TRUE(tree.BeginLoad(*next));
      const std::string& name = tree.Node(*next).fullName;
      if (!c.listedByWmi) {
        tree.ChildrenLoaded(*next, {});
      } else if (name == "root") {
        tree.ChildrenLoaded(*next, Named({"Brevane", "cimv2"}));
      } else {
        tree.ChildrenLoaded(*next, Named({"Deep"}));
      }
    }
    const auto target = tree.TargetNode();
    EXPECT_EQ(target ? tree.Node(*target).fullName : "", c.reached) << c.target;
  }

  NamespaceTree refused("root\\Secret\\Inner");
  refused.BeginLoad(refused.Root());
  refused.ChildrenLoaded(refused.Root(), Named({"Secret"}));
  const auto secret = *refused.NextToOpen();
  refused.BeginLoad(secret);
  refused.LoadFailed(secret, true, "Access is denied");
  EXPECT_FALSE(refused.NextToOpen());  // the way down ends there, without a loop
}

}  // namespace
}  // namespace brevane::app
