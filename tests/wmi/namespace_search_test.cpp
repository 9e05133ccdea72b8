#include "wmi/namespace_search.h"

#include <gtest/gtest.h>

#include "wmi/namespace_path.h"

namespace brevane::wmi {
namespace {

TEST(NamespacePathTest, StepsAndChildNames) {
  const struct {
    const char* ns;
    std::vector<std::string> steps;
  } cases[] = {
      {"root\\cimv2", {"root", "root\\cimv2"}},
      {"ROOT/Brevane//Deep\\", {"ROOT", "ROOT\\Brevane", "ROOT\\Brevane\\Deep"}},
      {"\\\\server\\root\\wmi", {"root", "root\\wmi"}},
      {"root\\Odd Name $&\\\xE6\x95\xB0",
       {"root", "root\\Odd Name $&", "root\\Odd Name $&\\\xE6\x95\xB0"}},
      {"", {}},
      {"\\\\server", {}},
      {"root\\a\x01"
       "b",
       {}},
  };
  for (const auto& c : cases) EXPECT_EQ(NamespaceSteps(c.ns), c.steps) << c.ns;
  EXPECT_TRUE(NamespaceSteps(std::string(kMaxNamespaceLength + 1, 'a')).empty());

  for (const char* bad : {"", "  ", "a\\b", "a/b", "tab\there"}) EXPECT_FALSE(UsableChildName(bad));
  EXPECT_TRUE(UsableChildName("Odd Name $&"));
  EXPECT_EQ(ChildNamespace("root", "cimv2"), "root\\cimv2");
  EXPECT_EQ(NamespaceLeaf("root\\Brevane\\Deep"), "Deep");
  EXPECT_TRUE(SameNamespace("ROOT\\CimV2", "root\\cimv2"));
}

TEST(NamespaceSearchTest, AtMostFourAtOnceEachNamespaceOnce) {
  NamespaceSearch search("disk");
  auto root = search.Take();
  ASSERT_TRUE(root);
  EXPECT_EQ(*root, "root");
  EXPECT_FALSE(search.Take());  // nothing else waits yet
  search.ChildrenFound("root", {"a", "b", "c", "d", "e", "A", "", "x\\y"});
  search.Finished();
  std::vector<std::string> taken;
  while (auto ns = search.Take()) taken.push_back(*ns);
  EXPECT_EQ(taken, (std::vector<std::string>{"root\\a", "root\\b", "root\\c", "root\\d"}));
  EXPECT_EQ(search.Running(), 4);
  search.ChildrenFound("root\\a", {"deep"});
  search.Finished();
  EXPECT_EQ(search.Take().value_or(""), "root\\e");
  EXPECT_EQ(search.Take().value_or(""), "");
  for (int i = 0; i < 4; ++i) search.Finished();
  EXPECT_FALSE(search.Done());
  EXPECT_EQ(search.Take().value_or(""), "root\\a\\deep");
  search.Finished();
  EXPECT_TRUE(search.Done());
  EXPECT_EQ(search.Visited(), 7u);
}

TEST(NamespaceSearchTest, MatchesPartOfNameIgnoringCase) {
  NamespaceSearch search("  LogicalDisk ");
  for (const char* yes : {"Win32_LogicalDisk", "win32_logicaldisktopartition", "LOGICALDISK"})
    EXPECT_TRUE(search.Matches(yes)) << yes;
  for (const char* no : {"Win32_Logical_Disk", "Disk", ""}) EXPECT_FALSE(search.Matches(no)) << no;
}

TEST(NamespaceSearchTest, RefusalsAndClassesUnavailableAreCountedAndEndTheWalk) {
  NamespaceSearch search("x");
  ASSERT_TRUE(search.Take());
  search.ChildrenFound("root", {"Secret", "cimv2"});
  search.ClassesUnavailable("root", "Generic failure");
  search.Finished();
  while (auto ns = search.Take()) {
    if (*ns == "root\\Secret") {
      search.Refused(*ns, "Access is denied");
    } else {
      search.Hit();
      search.ClassesUnavailable(*ns, "Generic failure");
    }
    search.Finished();
  }
  EXPECT_TRUE(search.Done());
  ASSERT_EQ(search.RefusedList().size(), 1u);
  EXPECT_EQ(search.RefusedList()[0].ns, "root\\Secret");
  EXPECT_EQ(NamespaceSearchSummary(search, false),
            "已查找 3 个命名空间，找到 1 个类；1 个命名空间拒绝连接；2 个命名空间无法列出类 "
            "(Generic failure)");
}

TEST(NamespaceSearchTest, AProviderThatInventsNamespacesIsCutOff) {
  NamespaceSearch search("x");
  std::vector<std::string> names;
  for (size_t i = 0; i < NamespaceSearch::kMaxNamespaces + 10; ++i)
    names.push_back("n" + std::to_string(i));
  ASSERT_TRUE(search.Take());
  search.ChildrenFound("root", names);
  EXPECT_TRUE(search.Truncated());
  size_t count = 0;
  search.Finished();
  while (auto ns = search.Take()) {
    ++count;
    search.Finished();
  }
  EXPECT_EQ(count + 1, NamespaceSearch::kMaxNamespaces);
}

}  // namespace
}  // namespace brevane::wmi
