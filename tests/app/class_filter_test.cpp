#include "app/class_filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brevane::app {
namespace {

std::vector<std::string> Shown(const ClassFilter& filter, std::string_view text) {
  std::vector<std::string> names;
  for (int i : filter.Matches(text)) names.push_back(filter.Names()[static_cast<size_t>(i)]);
  return names;
}

TEST(ClassFilterTest, ContainsWithoutRegardToCase) {
  ClassFilter filter;
  filter.SetNames({"CIM_Process", "Win32_Process", "Win32_Service", "__NAMESPACE", "Ärger"});
  using Names = std::vector<std::string>;
  EXPECT_EQ(Shown(filter, "process"), (Names{"CIM_Process", "Win32_Process"}));
  EXPECT_EQ(Shown(filter, "WIN32_"), (Names{"Win32_Process", "Win32_Service"}));
  EXPECT_EQ(Shown(filter, "  serv "), (Names{"Win32_Service"}));
  EXPECT_EQ(Shown(filter, "__name"), (Names{"__NAMESPACE"}));
  EXPECT_EQ(Shown(filter, "Ärg"), (Names{"Ärger"}));
  EXPECT_EQ(Shown(filter, "nosuchclass"), Names{});
  EXPECT_EQ(Shown(filter, ""), filter.Names());
  EXPECT_EQ(Shown(filter, " \t"), filter.Names());
  filter.SetNames({});
  EXPECT_TRUE(filter.Matches("x").empty());
  EXPECT_TRUE(filter.Matches("").empty());
}

TEST(ClassFilterTest, HundredThousandNames) {
  std::vector<std::string> names;
  for (int i = 0; i < 100000; ++i) names.push_back("Win32_Class" + std::to_string(i));
  ClassFilter filter;
  filter.SetNames(names);
  EXPECT_EQ(filter.Matches("").size(), 100000u);
  EXPECT_EQ(filter.Matches("CLASS9999").size(), 11u);  // 9999 and 99990..99999
  EXPECT_EQ(filter.Matches("class99999"), std::vector<int>{99999});
  EXPECT_TRUE(filter.Matches("Process").empty());
}

TEST(ClassFilterTest, CountText) {
  EXPECT_EQ(ClassCountText(1100, 1100, false), "Classes: 1100");
  EXPECT_EQ(ClassCountText(3, 1100, true), "Classes: 3 / 1100");
  EXPECT_EQ(ClassCountText(0, 0, true), "Classes: 0 / 0");
}

}  // namespace
}  // namespace brevane::app
