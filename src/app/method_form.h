#pragma once
// The method dialog's rules, apart from its controls: which methods it offers, the editor each
// in-parameter gets, what the typed fields become (or why nothing can be sent), and the one
// question asked before a call.
#include <optional>
#include <string>
#include <vector>

#include "wmi/class_definition.h"
#include "wmi/value_map.h"
#include "wmi/wmi_api.h"

namespace brevane::app {

enum class EditorKind {
  Text,    // one line: numbers, strings, date-times, references
  Lines,   // an array: one element per line
  Check,   // a boolean: checked, cleared, or not given (the third state)
  Choice,  // ValueMap/Values: the names shown, the value sent; other values can be typed
};

struct MethodField {
  std::string name;
  uint16_t cimType = 0;
  EditorKind kind = EditorKind::Text;
  std::string label;  // "StartMode (string)"
  std::string hint;   // the form the text takes, for date-times and references; else empty
  std::vector<wmi::ValueChoice> choices;
};

// What the user put into one field: the text, or for a check box its state (none: not given).
struct FieldInput {
  std::string text;
  std::optional<bool> checked;
};

struct FormCheck {
  bool ok = false;
  std::vector<std::string> errors;             // one per field, empty where the field is fine
  std::vector<wmi::MethodArgument> arguments;  // every field, in order, when ok
};

// What the method dialog acts on: a class, and one of its instances when one is chosen.
struct MethodTarget {
  std::string className;
  std::string instancePath;  // relative path; empty: none
};

// The method is static (a call on the class, not on an instance).
bool IsStaticMethod(const wmi::MethodDefinition& method);

// The methods offered: every method with an instance, only the static ones without one.
std::vector<const wmi::MethodDefinition*> OfferedMethods(const wmi::ClassDefinition& definition,
                                                         bool haveInstance);

// One field per in-parameter, in the signature's order (by ID).
std::vector<MethodField> MethodFields(const wmi::MethodDefinition& method);

// Checks every field against its type; inputs has one entry per field. A field that does not
// parse gets its message and nothing is sent.
FormCheck CheckMethodFields(const std::vector<MethodField>& fields,
                            const std::vector<FieldInput>& inputs);

// Where the call goes: the instance's path, or the class for a static method (or when there is
// no instance); empty when an instance method has no instance to run on.
std::string CallTarget(const wmi::MethodDefinition& method, const std::string& className,
                       const std::string& instancePath);

// The question before the call, naming the method, the object path and the computer.
std::string ConfirmationText(const std::string& method, const std::string& objectPath,
                             const std::string& host);

}  // namespace brevane::app
