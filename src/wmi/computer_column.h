#pragma once
// The column that says which computer answered, first in every row of a query that goes to
// many computers.
#include <string>
#include <string_view>

#include "wmi/result_table.h"

namespace brevane::wmi {

inline constexpr std::string_view kComputerColumn = "Computer";

// Puts the column "Computer" holding the name as typed before each object's properties, so
// that a table laid out by first appearance has it first whatever columns each computer
// answers with.
void AddComputerColumn(ResultTable& table, const std::string& computer);

}  // namespace brevane::wmi
