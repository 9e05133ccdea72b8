// Window-placement parsing: arbitrary section text against arbitrary current placements and
// screens, the round trip of what a save writes, and keeping a window within a work area.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "app/placement_keys.h"
#include "fuzz_check.h"
#include "util/ini_text.h"

namespace {

using brevane::app::PlacementRecord;
using brevane::app::PlacementRect;

PlacementRect ConsumeRect(FuzzedDataProvider& in) {
  PlacementRect rect;
  rect.left = in.ConsumeIntegral<int>();
  rect.top = in.ConsumeIntegral<int>();
  rect.right = in.ConsumeIntegral<int>();
  rect.bottom = in.ConsumeIntegral<int>();
  return rect;
}

PlacementRecord ConsumeRecord(FuzzedDataProvider& in) {
  PlacementRecord record;
  record.flags = in.ConsumeIntegral<int>();
  record.showCmd = in.ConsumeIntegral<int>();
  record.minPosition = {in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>()};
  record.maxPosition = {in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>()};
  record.normalPosition = ConsumeRect(in);
  return record;
}

std::string SectionText(const brevane::app::ProfileEntries& entries) {
  std::string text = std::string("[") + brevane::app::kPlacementSection + "]\n";
  for (const auto& [key, value] : entries) text += key + "=" + value + "\n";
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const PlacementRecord current = ConsumeRecord(in);
  const PlacementRecord saved = ConsumeRecord(in);
  brevane::app::ScreenMetrics screen;
  screen.width = in.ConsumeIntegral<int>();
  screen.height = in.ConsumeIntegral<int>();
  screen.pixelsPerInch = in.ConsumeIntegral<int>();
  const bool visible = in.ConsumeBool();
  const bool sizeable = in.ConsumeBool();
  const PlacementRect area = ConsumeRect(in);
  const std::string text = in.ConsumeRemainingBytesAsString();

  // Whatever the file says, an applied position is a real rectangle.
  const brevane::util::IniSection section =
      brevane::util::ReadIniSection(text, brevane::app::kPlacementSection);
  if (const auto restored =
          brevane::app::RestoredPlacement(section, current, visible, screen, sizeable)) {
    FUZZ_CHECK(restored->normalPosition.left < restored->normalPosition.right);
    if (!visible) FUZZ_CHECK(restored->showCmd == 0);
  }
  const auto values = brevane::app::ParsePositions(text, {1, 2, 3, 4});
  FUZZ_CHECK(brevane::app::ParsePositions(brevane::app::FormatPositions(values), {0, 0, 0, 0}) ==
             values);

  // What a save writes reads back as the same position.
  const brevane::util::IniSection written = brevane::util::ReadIniSection(
      SectionText(brevane::app::PlacementEntries(saved, screen, visible)),
      brevane::app::kPlacementSection);
  const auto restored = brevane::app::RestoredPlacement(written, current, true, screen, true);
  if (saved.normalPosition.left < saved.normalPosition.right) {
    FUZZ_CHECK(restored.has_value());
    PlacementRecord expected = saved;
    expected.showCmd = current.showCmd;
    FUZZ_CHECK(*restored == expected);
  } else {
    FUZZ_CHECK(!restored.has_value());
  }

  const PlacementRect moved = brevane::app::MoveIntoArea(saved.normalPosition, area);
  if (area.left < area.right && area.top < area.bottom) {
    FUZZ_CHECK(moved.left >= area.left && moved.right <= area.right);
    FUZZ_CHECK(moved.top >= area.top && moved.bottom <= area.bottom);
    FUZZ_CHECK(moved.left <= moved.right && moved.top <= moved.bottom);
  } else {
    FUZZ_CHECK(moved == saved.normalPosition);
  }
  (void)brevane::app::NeedsMoveIntoArea(saved.normalPosition, area);
  return 0;
}
