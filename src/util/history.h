#pragma once
// The drop-down list of a combo box kept as a history of recently used texts, most recent
// first.
#include <string_view>

#include "util/list_controls.h"

namespace brevane::util {

// Puts the text (without blanks and control characters at its ends) at the top of the
// history. An equal entry (exact, case-sensitive) further down is removed, the first one
// only, and then the edit field shows the trimmed text. An empty text changes nothing.
void AddToHistory(ComboBoxControl& combo, std::string_view text);

}  // namespace brevane::util
