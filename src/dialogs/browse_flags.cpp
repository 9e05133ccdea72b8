#include "dialogs/browse_flags.h"

namespace brevane::dialogs {

namespace {
constexpr std::array<uint32_t, kBrowseFlagCount> kOptionBits = {
    0x1000,  // BIF_BROWSEFORCOMPUTER
    0x2000,  // BIF_BROWSEFORPRINTER
    0x0002,  // BIF_DONTGOBELOWDOMAIN
    0x0004,  // BIF_STATUSTEXT
    0x0008,  // BIF_RETURNFSANCESTORS
    0x0001,  // BIF_RETURNONLYFSDIRS
    0x0010,  // BIF_EDITBOX
};

// Indexed by BrowseLocation; -1 where the root is not a special folder.
constexpr std::array<int, kBrowseLocationCount> kCsidls = {
    -1, -1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27,
};
// The shell option bit that a flag stands for.
uint32_t ShellOptionBit(BrowseFlag flag) {
  return kOptionBits[static_cast<size_t>(flag)];
}

}  // namespace

BrowseFlags BrowseOptions::Flags() const {
  BrowseFlags flags;
  for (int i = 0; i < kBrowseFlagCount; ++i) {
    const auto flag = static_cast<BrowseFlag>(i);
    if ((bits_ & ShellOptionBit(flag)) != 0) flags.Include(flag);
  }
  return flags;
}

void BrowseOptions::SetFlags(BrowseFlags flags) {
  for (int i = 0; i < kBrowseFlagCount; ++i) {
    const auto flag = static_cast<BrowseFlag>(i);
    if (flags.Contains(flag)) {
      bits_ |= ShellOptionBit(flag);
    } else {
      bits_ &= ~ShellOptionBit(flag);
    }
  }
}

std::optional<int> CsidlOf(BrowseLocation location) {
  const auto index = static_cast<size_t>(location);
  if (index >= kCsidls.size() || kCsidls[index] < 0) return std::nullopt;
  return kCsidls[index];
}

}  // namespace brevane::dialogs
