#pragma once
// The stored position of the main window: the keys of its section, how the placement record
// becomes text and back, and when a stored position is applied.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "util/ini_text.h"

namespace brevane::app {

inline constexpr const char* kPlacementSection = "TMainWin";
inline constexpr int kPlacementFormVersion = 0;

inline constexpr const char* kFormVersionKey = "FormVersion";
inline constexpr const char* kFlagsKey = "Flags";
inline constexpr const char* kShowCmdKey = "ShowCmd";
inline constexpr const char* kPixelsPerInchKey = "PixelsPerInch";
inline constexpr const char* kMinMaxPosKey = "MinMaxPos";
inline constexpr const char* kNormPosKey = "NormPos";
inline constexpr const char* kVisibleKey = "Visible";

struct PlacementPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PlacementPoint&) const = default;
};

struct PlacementRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const PlacementRect&) const = default;
};

// The platform's window placement record, without its length field.
struct PlacementRecord {
  int flags = 0;
  int showCmd = 0;
  PlacementPoint minPosition;
  PlacementPoint maxPosition;
  PlacementRect normalPosition;
  bool operator==(const PlacementRecord&) const = default;
};

struct ScreenMetrics {
  int width = 0;
  int height = 0;
  int pixelsPerInch = 96;
};

using ProfileEntries = std::vector<std::pair<std::string, std::string>>;

// The key with the screen's resolution appended: "NormPos(1024x768)".
std::string ResolutionKey(std::string_view key, const ScreenMetrics& screen);

// "%d,%d,%d,%d".
std::string FormatPositions(const std::array<int, 4>& values);

// Up to four comma-separated integers (empty fields skipped); a missing or malformed number
// takes its default.
std::array<int, 4> ParsePositions(std::string_view text, const std::array<int, 4>& defaults);

// What a save writes, in the order written; values already in their written form.
ProfileEntries PlacementEntries(const PlacementRecord& record, const ScreenMetrics& screen,
                                bool beingDestroyed);

// The record to apply when the window is first shown, or nothing when the section holds no
// usable position or was saved at another pixels-per-inch setting. `current` is the window's
// placement as it stands; only its position is replaced.
std::optional<PlacementRecord> RestoredPlacement(const util::IniSection& section,
                                                 const PlacementRecord& current, bool visible,
                                                 const ScreenMetrics& screen, bool sizeable);

// A window rectangle the user could not reach in `area` (a monitor's work area): its top edge
// outside the area, or less of its width inside than a grab handle needs.
bool NeedsMoveIntoArea(const PlacementRect& window, const PlacementRect& area);

// The rectangle moved (and if need be shrunk) so that it lies inside `area`.
PlacementRect MoveIntoArea(const PlacementRect& window, const PlacementRect& area);

}  // namespace brevane::app
