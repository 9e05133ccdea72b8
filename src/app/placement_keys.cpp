#include "app/placement_keys.h"

#include <algorithm>
#include <cstdint>

#include "util/text.h"

namespace brevane::app {

namespace {

// How much of a window must stay on screen for the user to grab it again.
constexpr int64_t kMinReachablePixels = 48;

std::optional<std::string> PresentValue(const util::IniSection& section, std::string_view key) {
  const std::string* raw = section.Find(key);
  if (!raw) return std::nullopt;
  std::string value = util::ProfileValue(*raw);
  if (value.empty()) return std::nullopt;
  return value;
}

// The resolution-specific key first, the plain key (written at any resolution) second.
std::optional<std::string> PositionValue(const util::IniSection& section, std::string_view key,
                                         const ScreenMetrics& screen) {
  if (auto value = PresentValue(section, ResolutionKey(key, screen))) return value;
  return PresentValue(section, key);
}

int ReadInteger(const util::IniSection& section, std::string_view key, int fallback) {
  const std::string* raw = section.Find(key);
  return raw ? util::StrToIntDef(util::ProfileValue(*raw), fallback) : fallback;
}

int ClampToInt(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

std::string ResolutionKey(std::string_view key, const ScreenMetrics& screen) {
  return std::string(key) + util::Format("(%dx%d)", screen.width, screen.height);
}

std::string FormatPositions(const std::array<int, 4>& values) {
  return util::Format("%d,%d,%d,%d", values[0], values[1], values[2], values[3]);
}

std::array<int, 4> ParsePositions(std::string_view text, const std::array<int, 4>& defaults) {
  std::array<int, 4> values = defaults;
  size_t field = 0;
  size_t pos = 0;
  while (field < values.size() && pos < text.size()) {
    size_t comma = text.find(',', pos);
    if (comma == std::string_view::npos) comma = text.size();
    if (comma > pos) {
      values[field] = util::StrToIntDef(text.substr(pos, comma - pos), defaults[field]);
      ++field;
    }
    pos = comma + 1;
  }
  return values;
}

ProfileEntries PlacementEntries(const PlacementRecord& record, const ScreenMetrics& screen,
                                bool beingDestroyed) {
  const std::string minMax = FormatPositions(
      {record.minPosition.x, record.minPosition.y, record.maxPosition.x, record.maxPosition.y});
  const PlacementRect& normal = record.normalPosition;
  const std::string norm = FormatPositions({normal.left, normal.top, normal.right, normal.bottom});
  ProfileEntries entries = {
      {kFormVersionKey, std::to_string(kPlacementFormVersion)},
      {kFlagsKey, std::to_string(record.flags)},
      {kShowCmdKey, std::to_string(record.showCmd)},
      {kPixelsPerInchKey, std::to_string(screen.pixelsPerInch)},
      {ResolutionKey(kMinMaxPosKey, screen), minMax},
      {kMinMaxPosKey, minMax},
      {ResolutionKey(kNormPosKey, screen), norm},
      {kNormPosKey, norm},
      {kVisibleKey, beingDestroyed ? "1" : "0"},
  };
  for (auto& entry : entries) entry.second = util::ProfileWriteForm(entry.second);
  return entries;
}

std::optional<PlacementRecord> RestoredPlacement(const util::IniSection& section,
                                                 const PlacementRecord& current, bool visible,
                                                 const ScreenMetrics& screen, bool sizeable) {
  if (ReadInteger(section, kFormVersionKey, 0) < kPlacementFormVersion) return std::nullopt;
  PlacementRecord record = current;
  if (!visible) record.showCmd = 0;
  record.flags = ReadInteger(section, kFlagsKey, current.flags);

  const auto minMax = PositionValue(section, kMinMaxPosKey, screen);
  if (minMax) {
    const auto values = ParsePositions(*minMax, {0, 0, 0, 0});
    record.minPosition = {values[0], values[1]};
    record.maxPosition = {values[2], values[3]};
  }
  const auto norm = PositionValue(section, kNormPosKey, screen);
  if (norm) {
    const PlacementRect& now = current.normalPosition;
    const auto values = ParsePositions(*norm, {now.left, now.top, now.right, now.bottom});
    record.normalPosition = {values[0], values[1], values[2], values[3]};
  }
  if (!minMax && !norm) return std::nullopt;
  if (ReadInteger(section, kPixelsPerInchKey, screen.pixelsPerInch) != screen.pixelsPerInch) {
    return std::nullopt;
  }
  if (!sizeable) {
    const PlacementRect& now = current.normalPosition;
    PlacementRect& rect = record.normalPosition;
    rect.right = ClampToInt(int64_t{rect.left} + now.right - now.left);
    rect.bottom = ClampToInt(int64_t{rect.top} + now.bottom - now.top);
  }
  if (record.normalPosition.left >= record.normalPosition.right) return std::nullopt;
  return record;
}

bool NeedsMoveIntoArea(const PlacementRect& window, const PlacementRect& area) {
  const int64_t width = int64_t{window.right} - window.left;
  const int64_t overlap =
      std::min<int64_t>(window.right, area.right) - std::max<int64_t>(window.left, area.left);
  if (overlap < std::min(width, kMinReachablePixels)) return true;
  return window.top < area.top || int64_t{window.top} > int64_t{area.bottom} - kMinReachablePixels;
}

PlacementRect MoveIntoArea(const PlacementRect& window, const PlacementRect& area) {
  if (area.right <= area.left || area.bottom <= area.top) return window;
  const int64_t areaWidth = std::max<int64_t>(0, int64_t{area.right} - area.left);
  const int64_t areaHeight = std::max<int64_t>(0, int64_t{area.bottom} - area.top);
  const int64_t width = std::clamp<int64_t>(int64_t{window.right} - window.left, 0, areaWidth);
  const int64_t height = std::clamp<int64_t>(int64_t{window.bottom} - window.top, 0, areaHeight);
  const int64_t left = std::clamp<int64_t>(window.left, area.left, area.right - width);
  const int64_t top = std::clamp<int64_t>(window.top, area.top, area.bottom - height);
  return {ClampToInt(left), ClampToInt(top), ClampToInt(left + width), ClampToInt(top + height)};
}

}  // namespace brevane::app
