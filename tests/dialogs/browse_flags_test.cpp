#include "dialogs/browse_flags.h"

#include <gtest/gtest.h>

namespace brevane::dialogs {
namespace {

using enum BrowseFlag;

TEST(BrowseOptionsTest, ComputerFlagKeepsValidateBitHidden) {
  BrowseOptions options;
  options.SetFlags({bf_BrowseForComputer});
  EXPECT_EQ(options.Bits(), 0x1000u);
  options.AddValidate();  // what Execute does before calling the shell
  EXPECT_EQ(options.Bits(), 0x1020u);
  EXPECT_EQ(options.Flags(), BrowseFlags({bf_BrowseForComputer}));
  options.AddValidate();
  EXPECT_EQ(options.Bits(), 0x1020u);
}

TEST(BrowseOptionsTest, AllSevenFlagsRoundTrip) {
  const BrowseFlags all = {bf_BrowseForComputer,
                           bf_BrowseForPrinter,
                           bf_DontGoBelowDomain,
                           bf_statustext,
                           bf_ReturnFSanceStors,
                           bf_ReturnOnlyFSDIRS,
                           bf_EditBox};
  BrowseOptions options;
  options.SetFlags(all);
  EXPECT_EQ(options.Bits(), 0x301Fu);
  EXPECT_EQ(options.Flags(), all);
}

TEST(BrowseOptionsTest, SettingFlagsLeavesForeignBitsAlone) {
  BrowseOptions options;
  options.SetBits(0x8000'0040u | 0x0010u | 0x0020u);  // foreign bits, edit box, validate
  options.SetFlags({bf_statustext});
  EXPECT_EQ(options.Bits(), 0x8000'0040u | 0x0020u | 0x0004u);
  EXPECT_EQ(options.Flags(), BrowseFlags({bf_statustext}));
  options.SetFlags({});
  EXPECT_EQ(options.Bits(), 0x8000'0060u);
  EXPECT_EQ(options.Flags(), BrowseFlags());
}

TEST(BrowseLocationTest, RootsMapToTheirSpecialFolders) {
  EXPECT_FALSE(CsidlOf(BrowseLocation::bl_STANDART));
  EXPECT_FALSE(CsidlOf(BrowseLocation::bl_CUSTOM));
  const struct {
    BrowseLocation location;
    int csidl;
  } cases[] = {
      {BrowseLocation::bl_DESKTOP, 0},    {BrowseLocation::bl_PROGRAMS, 2},
      {BrowseLocation::bl_STARTMENU, 11}, {BrowseLocation::bl_DESKTOPDIRECTORY, 16},
      {BrowseLocation::bl_NETWORK, 18},   {BrowseLocation::bl_COMMON_DESKTOPDIRECTORY, 25},
      {BrowseLocation::bl_PRINTHOOD, 27},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CsidlOf(c.location), c.csidl) << static_cast<int>(c.location);
  }
  EXPECT_FALSE(CsidlOf(static_cast<BrowseLocation>(99)));
}

}  // namespace
}  // namespace brevane::dialogs
