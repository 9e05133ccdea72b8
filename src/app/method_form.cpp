#include "app/method_form.h"

#include "util/text.h"
#include "wmi/cim_type.h"
#include "wmi/parameter_input.h"

namespace brevane::app {

namespace {

bool FlagSet(const std::vector<wmi::Qualifier>& qualifiers, const char* name) {
  const wmi::Qualifier* q = wmi::FindQualifier(qualifiers, name);
  return q && (q->value.type != wmi::kVtBool || q->value.integer != 0);
}

std::vector<std::string> Items(const std::vector<wmi::Qualifier>& qualifiers, const char* name) {
  const wmi::Qualifier* q = wmi::FindQualifier(qualifiers, name);
  return q ? q->items : std::vector<std::string>{};
}

std::string ObjectClass(const wmi::ParameterDefinition& parameter) {
  const wmi::Qualifier* q = wmi::FindQualifier(parameter.qualifiers, "CIMTYPE");
  if (!q || q->value.type != wmi::kVtBstr) return {};
  const size_t colon = q->value.text.find(':');
  return colon == std::string::npos ? std::string() : q->value.text.substr(colon + 1);
}

}  // namespace

bool IsStaticMethod(const wmi::MethodDefinition& method) {
  return FlagSet(method.qualifiers, "Static");
}

std::vector<const wmi::MethodDefinition*> OfferedMethods(const wmi::ClassDefinition& definition,
                                                         bool haveInstance) {
  std::vector<const wmi::MethodDefinition*> offered;
  for (const wmi::MethodDefinition& method : definition.methods) {
    if (haveInstance || IsStaticMethod(method)) offered.push_back(&method);
  }
  return offered;
}

std::vector<MethodField> MethodFields(const wmi::MethodDefinition& method) {
  std::vector<MethodField> fields;
  for (const wmi::ParameterDefinition& p : method.inputs) {
    MethodField field;
    field.name = p.name;
    field.cimType = p.cimType;
    std::string type = wmi::CimTypeName(p.cimType, ObjectClass(p));
    field.label = p.name + " (" + (type.empty() ? "?" : type) + ")";
    const uint16_t element = static_cast<uint16_t>(p.cimType & ~wmi::kCimArrayFlag);
    const bool array = (p.cimType & wmi::kCimArrayFlag) != 0;
    const std::vector<std::string> values = Items(p.qualifiers, "Values");
    const std::vector<std::string> valueMap = Items(p.qualifiers, "ValueMap");
    if (array) {
      field.kind = EditorKind::Lines;
    } else if (element == wmi::kCimBoolean) {
      field.kind = EditorKind::Check;
    } else if (!values.empty() || !valueMap.empty()) {
      field.kind = EditorKind::Choice;
      field.choices = wmi::ValueChoices(valueMap, values);
    }
    if (element == wmi::kCimDatetime) field.hint = "yyyymmddHHMMSS.mmmmmm+UUU";
    if (element == wmi::kCimReference) field.hint = "Class.Key=\"value\"";
    fields.push_back(std::move(field));
  }
  return fields;
}

FormCheck CheckMethodFields(const std::vector<MethodField>& fields,
                            const std::vector<FieldInput>& inputs) {
  FormCheck check;
  check.ok = true;
  check.errors.resize(fields.size());
  for (size_t i = 0; i < fields.size(); ++i) {
    const MethodField& field = fields[i];
    const FieldInput input = i < inputs.size() ? inputs[i] : FieldInput{};
    std::string text = input.text;
    if (field.kind == EditorKind::Check) {
      text = input.checked ? (*input.checked ? "true" : "false") : "";
    } else if (field.kind == EditorKind::Choice) {
      text = wmi::ChosenValue(util::Trim(text), field.choices);
    }
    wmi::ParameterParse parse = wmi::ParseParameterText(text, field.cimType);
    if (!parse.value) {
      check.ok = false;
      check.errors[i] = parse.error.empty() ? "Not a value of this type." : parse.error;
      continue;
    }
    check.arguments.push_back({field.name, std::move(*parse.value)});
  }
  if (!check.ok) check.arguments.clear();
  return check;
}

std::string CallTarget(const wmi::MethodDefinition& method, const std::string& className,
                       const std::string& instancePath) {
  if (IsStaticMethod(method)) return className;
  return instancePath;
}

std::string ConfirmationText(const std::string& method, const std::string& objectPath,
                             const std::string& host) {
  const std::string trimmed = util::Trim(host);
  const std::string computer =
      trimmed.empty() || trimmed == "." || util::AsciiLower(trimmed) == "localhost"
          ? "this computer"
          : "the computer " + trimmed;
  return "Run the method " + method + " on " + objectPath + " on " + computer +
         "?\r\n\r\nThe method may change the computer; once sent, the call cannot be cancelled.";
}

}  // namespace brevane::app
