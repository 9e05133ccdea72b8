#pragma once
// Telling an event query from an ordinary one. WMI runs the two through different calls, and
// the query text alone does not say which it is: "SELECT * FROM Win32_ProcessStartTrace" is
// an event query without any WITHIN. What decides is the class after FROM: an event class
// derives from __Event, which its definition's derivation lists.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevane::wmi {

// The class a "SELECT ... FROM Class ..." query reads; none for other statements (ASSOCIATORS
// OF, REFERENCES OF) and for text that names no class after FROM.
std::optional<std::string> SelectedClass(std::string_view query);

// Whether a class with this name and these superclasses (nearest first, as __DERIVATION
// lists them) is an event class. Case does not matter in class names.
bool IsEventClass(std::string_view className, const std::vector<std::string>& derivation);

}  // namespace brevane::wmi
