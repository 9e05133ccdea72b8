// History loading from arbitrary settings-file text into in-memory drop-down lists, and a
// save and reload of what was loaded.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/history_file.h"
#include "fuzz_check.h"
#include "support/fake_list_controls.h"
#include "support/memory_profile.h"
#include "util/ini_text.h"

namespace {

using brevane::testing::FakeComboBox;
using brevane::testing::MemoryProfile;

struct Combos {
  FakeComboBox query, search, hosts, namespaces;
  brevane::app::HistoryCombos Refs() { return {&query, &search, &hosts, &namespaces}; }
  std::array<const FakeComboBox*, 4> All() const { return {&query, &search, &hosts, &namespaces}; }
};

void CheckLoaded(const Combos& combos, size_t inputSize) {
  for (const FakeComboBox* combo : combos.All()) {
    // Each entry comes from a line of its own, so the lists cannot outgrow the file.
    FUZZ_CHECK(combo->items.size() <= inputSize / 2 + 1);
    for (const std::string& item : combo->items) {
      FUZZ_CHECK(!item.empty());
      FUZZ_CHECK(item.find('\n') == std::string::npos);
      FUZZ_CHECK(item.find('\0') == std::string::npos);
      FUZZ_CHECK(item == brevane::util::CutToChars(item, brevane::util::kProfileValueMaxChars));
    }
  }
}

Combos SaveAndLoad(Combos& from) {
  MemoryProfile saved;
  brevane::app::SaveHistory(saved, from.Refs());
  FUZZ_CHECK(!saved.Text().empty());
  Combos to;
  brevane::app::LoadHistory(saved, to.Refs());
  for (int i = 0; i < 4; ++i) {
    FUZZ_CHECK(
        to.All()[i]->items.size() <=
        std::min<size_t>(from.All()[i]->items.size(), brevane::app::kMaxSavedHistoryEntries));
  }
  return to;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  MemoryProfile profile(text);
  Combos loaded;
  brevane::app::LoadHistory(profile, loaded.Refs());
  CheckLoaded(loaded, size);

  // A save can trim blanks and drop entries that are blank inside their quotes; after one
  // round the lists must come back unchanged.
  Combos once = SaveAndLoad(loaded);
  Combos twice = SaveAndLoad(once);
  for (int i = 0; i < 4; ++i) FUZZ_CHECK(once.All()[i]->items == twice.All()[i]->items);
  return 0;
}
