#pragma once
// A class definition as the text of the definition page: the class and its superclasses, its
// qualifiers, every property with type, origin and qualifiers, every method with its
// parameters, and the MOF text. Lines end in CR LF, as an edit control wants them.
#include <cstddef>
#include <string>

#include "wmi/class_definition.h"

namespace brevane::wmi {

// A hostile provider can hand over any amount of text: beyond this the page is cut, saying so.
constexpr size_t kMaxDefinitionText = 4 * 1024 * 1024;

std::string ClassDefinitionText(const ClassDefinition& definition);

// One qualifier as the page shows it: `Name = value`, strings quoted, arrays in braces.
std::string QualifierText(const Qualifier& qualifier);

}  // namespace brevane::wmi
