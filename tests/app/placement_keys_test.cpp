#include "app/placement_keys.h"

#include <gtest/gtest.h>

#include <string>

namespace brevane::app {
namespace {

const ScreenMetrics kScreen{1024, 768, 96};

PlacementRecord Current() {
  PlacementRecord record;
  record.flags = 0;
  record.showCmd = 1;
  record.minPosition = {-1, -1};
  record.maxPosition = {-1, -1};
  record.normalPosition = {205, 184, 937, 701};
  return record;
}

util::IniSection Section(const std::string& body) {
  return util::ReadIniSection("[TMainWin]\n" + body, "TMainWin");
}

TEST(PlacementKeysTest, EntriesInWriteOrder) {
  PlacementRecord record = Current();
  record.flags = 2;
  record.normalPosition = {10, 20, 700, 500};
  const ProfileEntries entries = PlacementEntries(record, kScreen, false);
  const ProfileEntries expected = {
      {"FormVersion", "0"},
      {"Flags", "2"},
      {"ShowCmd", "1"},
      {"PixelsPerInch", "96"},
      {"MinMaxPos(1024x768)", "-1,-1,-1,-1"},
      {"MinMaxPos", "-1,-1,-1,-1"},
      {"NormPos(1024x768)", "10,20,700,500"},
      {"NormPos", "10,20,700,500"},
      {"Visible", "0"},
  };
  EXPECT_EQ(entries, expected);
  EXPECT_EQ(PlacementEntries(record, kScreen, true).back().second, "1");
}

TEST(PlacementKeysTest, ParsePositionsDefaults) {
  const std::array<int, 4> zero{0, 0, 0, 0};
  EXPECT_EQ(ParsePositions("1,2,3,4", zero), (std::array<int, 4>{1, 2, 3, 4}));
  EXPECT_EQ(ParsePositions("1,,2", zero), (std::array<int, 4>{1, 2, 0, 0}));
  EXPECT_EQ(ParsePositions("a,-2,$10, 7,9", zero), (std::array<int, 4>{0, -2, 16, 7}));
  EXPECT_EQ(ParsePositions("", {5, 6, 7, 8}), (std::array<int, 4>{5, 6, 7, 8}));
  EXPECT_EQ(ParsePositions("99999999999,1", {5, 6, 7, 8}), (std::array<int, 4>{5, 1, 7, 8}));
}

TEST(PlacementKeysTest, RoundTripThroughTheFileForm) {
  PlacementRecord record = Current();
  record.normalPosition = {-50, 30, 600, 400};
  std::string text = "[TMainWin]\n";
  for (const auto& [key, value] : PlacementEntries(record, kScreen, false)) {
    text += key + "=" + value + "\n";
  }
  const auto restored =
      RestoredPlacement(util::ReadIniSection(text, "TMainWin"), Current(), true, kScreen, true);
  ASSERT_TRUE(restored.has_value());
  EXPECT_EQ(*restored, record);
}

TEST(PlacementKeysTest, RestoreRules) {
  struct Case {
    const char* name;
    std::string body;
    bool applies;
    PlacementRect expected;
  } cases[] = {
      {"no file", "", false, {}},
      {"resolution key preferred",
       "NormPos(1024x768)=1,2,300,400\nNormPos=5,6,700,800\n",
       true,
       {1, 2, 300, 400}},
      {"other resolution falls back to plain",
       "NormPos(800x600)=1,2,300,400\nNormPos=5,6,700,800\n",
       true,
       {5, 6, 700, 800}},
      {"missing numbers take the current rectangle", "NormPos=5,6\n", true, {5, 6, 937, 701}},
      {"other pixels per inch", "NormPos=5,6,700,800\nPixelsPerInch=120\n", false, {}},
      {"same pixels per inch", "NormPos=5,6,700,800\nPixelsPerInch=96\n", true, {5, 6, 700, 800}},
      {"empty left-right", "NormPos=700,6,700,800\n", false, {}},
      {"min-max alone keeps the rectangle", "MinMaxPos=1,2,3,4\n", true, {205, 184, 937, 701}},
      {"newer form version", "FormVersion=-1\nNormPos=5,6,700,800\n", false, {}},
      {"quoted value", "NormPos=\"5,6,700,800\"\n", true, {5, 6, 700, 800}},
  };
  for (const Case& c : cases) {
    const auto restored = RestoredPlacement(Section(c.body), Current(), true, kScreen, true);
    ASSERT_EQ(restored.has_value(), c.applies) << c.name;
    if (restored) {
      EXPECT_EQ(restored->normalPosition, c.expected) << c.name;
    }
  }
}

TEST(PlacementKeysTest, RestoreDetails) {
  const auto hidden =
      RestoredPlacement(Section("Flags=2\nMinMaxPos=1,2,3,4\n"), Current(), false, kScreen, true);
  ASSERT_TRUE(hidden);
  EXPECT_EQ(hidden->showCmd, 0);
  EXPECT_EQ(hidden->flags, 2);
  EXPECT_EQ(hidden->minPosition, (PlacementPoint{1, 2}));
  EXPECT_EQ(hidden->maxPosition, (PlacementPoint{3, 4}));

  const auto fixedSize =
      RestoredPlacement(Section("NormPos=10,20,30,40\n"), Current(), true, kScreen, false);
  ASSERT_TRUE(fixedSize);
  EXPECT_EQ(fixedSize->normalPosition, (PlacementRect{10, 20, 742, 537}));

  const auto huge =
      RestoredPlacement(Section("NormPos=2147483000,0,5,5\n"), Current(), true, kScreen, false);
  ASSERT_TRUE(huge);  // kept width clamped instead of overflowing; the monitor check moves it
  EXPECT_EQ(huge->normalPosition.right, INT32_MAX);
}

TEST(PlacementKeysTest, MovesUnreachableWindowsIntoTheWorkArea) {
  const PlacementRect area{0, 0, 1024, 738};
  EXPECT_FALSE(NeedsMoveIntoArea({100, 100, 800, 600}, area));
  EXPECT_FALSE(NeedsMoveIntoArea({-300, 10, 400, 600}, area));   // partly off, still reachable
  EXPECT_TRUE(NeedsMoveIntoArea({2000, 100, 2700, 600}, area));  // a monitor that is gone
  EXPECT_TRUE(NeedsMoveIntoArea({100, -40, 800, 600}, area));    // title bar above the screen
  EXPECT_TRUE(NeedsMoveIntoArea({100, 720, 800, 1200}, area));

  EXPECT_EQ(MoveIntoArea({2000, 100, 2700, 600}, area), (PlacementRect{324, 100, 1024, 600}));
  EXPECT_EQ(MoveIntoArea({-5000, -5000, 5000, 5000}, area), area);
  EXPECT_EQ(MoveIntoArea({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, area), area);
  EXPECT_EQ(MoveIntoArea({1, 2, 3, 4}, PlacementRect{}), (PlacementRect{1, 2, 3, 4}));
}

}  // namespace
}  // namespace brevane::app
