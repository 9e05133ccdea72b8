#pragma once
// The options and roots of the shell's browse dialog, kept apart from the shell so that the
// bit arithmetic can be checked anywhere.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>

namespace brevane::dialogs {

enum class BrowseFlag {
  bf_BrowseForComputer,
  bf_BrowseForPrinter,
  bf_DontGoBelowDomain,
  bf_statustext,
  bf_ReturnFSanceStors,
  bf_ReturnOnlyFSDIRS,
  bf_EditBox,
};
inline constexpr int kBrowseFlagCount = 7;

// A set of BrowseFlag, one bit per ordinal.
class BrowseFlags {
 public:
  constexpr BrowseFlags() = default;
  constexpr BrowseFlags(std::initializer_list<BrowseFlag> flags) {
    for (BrowseFlag flag : flags) Include(flag);
  }
  constexpr void Include(BrowseFlag flag) { members_ |= Bit(flag); }
  constexpr bool Contains(BrowseFlag flag) const { return (members_ & Bit(flag)) != 0; }
  constexpr bool operator==(const BrowseFlags&) const = default;

 private:
  static constexpr uint8_t Bit(BrowseFlag flag) {
    return static_cast<uint8_t>(1u << static_cast<int>(flag));
  }
  uint8_t members_ = 0;
};

inline constexpr uint32_t kBifValidate = 0x0020;

// The shell's option bits are the storage of the flags: the seven flag bits are written and
// read through Flags, every other bit (BIF_VALIDATE among them) is left as it is.
class BrowseOptions {
 public:
  uint32_t Bits() const { return bits_; }
  void SetBits(uint32_t bits) { bits_ = bits; }
  BrowseFlags Flags() const;
  void SetFlags(BrowseFlags flags);
  // Execute asks the shell to check typed names; the bit then stays.
  void AddValidate() { bits_ |= kBifValidate; }

 private:
  uint32_t bits_ = 0;
};

enum class BrowseLocation {
  bl_STANDART,
  bl_CUSTOM,
  bl_DESKTOP,
  bl_PROGRAMS,
  bl_CONTROLS,
  bl_PRINTERS,
  bl_PERSONAL,
  bl_FAVORITES,
  bl_STARTUP,
  bl_RECENT,
  bl_SENDTO,
  bl_BITBUCKET,
  bl_STARTMENU,
  bl_DESKTOPDIRECTORY,
  bl_DRIVES,
  bl_NETWORK,
  bl_NETHOOD,
  bl_FONTS,
  bl_TEMPLATES,
  bl_COMMON_STARTMENU,
  bl_COMMON_PROGRAMS,
  bl_COMMON_STARTUP,
  bl_COMMON_DESKTOPDIRECTORY,
  bl_APPDATA,
  bl_PRINTHOOD,
};
inline constexpr int kBrowseLocationCount = 25;

// The special-folder identifier (CSIDL) of a root; none for bl_STANDART and bl_CUSTOM.
std::optional<int> CsidlOf(BrowseLocation location);

}  // namespace brevane::dialogs
