#include "util/history.h"

#include <string>

#include "util/text.h"

namespace brevane::util {

void AddToHistory(ComboBoxControl& combo, std::string_view text) {
  const std::string entry = Trim(text);
  if (entry.empty()) return;
  const int count = combo.ItemCount();
  for (int i = 0; i < count; ++i) {
    if (combo.ItemText(i) == entry) {
      combo.DeleteItem(i);
      combo.SetEditText(entry);
      break;
    }
  }
  combo.InsertItem(0, entry);
}

}  // namespace brevane::util
