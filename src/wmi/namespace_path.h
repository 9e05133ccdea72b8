#pragma once
// Namespace names: a child's full name is its parent's, a backslash and the child's Name (the
// Name property of an instance of __NAMESPACE); names compare without regard to ASCII case.
#include <string>
#include <string_view>
#include <vector>

namespace brevane::wmi {

// Longest full name the program follows; a deeper or longer one is treated as unusable.
constexpr size_t kMaxNamespaceLength = 1024;

// A child's Name that can stand in a full name: not empty after trimming, no backslash,
// slash or control character, and short enough. Spaces, '$', '&' and non-ASCII letters are
// fine (WMI allows them); the name is used as WMI gave it.
bool UsableChildName(std::string_view name);

// parent + "\" + name.
std::string ChildNamespace(std::string_view parent, std::string_view name);

// The full names from the top down to ns: "root\cimv2" gives "root", "root\cimv2". Slashes
// count as backslashes, a leading "\\host\" and empty parts are dropped; the parts keep their
// case. Empty for an empty name, one that is too long, or one with an unusable part.
std::vector<std::string> NamespaceSteps(std::string_view ns);

bool SameNamespace(std::string_view a, std::string_view b);

// The last part of a full name ("cimv2" of "root\cimv2").
std::string NamespaceLeaf(std::string_view ns);

}  // namespace brevane::wmi
