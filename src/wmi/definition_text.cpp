#include "wmi/definition_text.h"

#include "util/text.h"
#include "wmi/value_map.h"
#include "wmi/value_text.h"

namespace brevane::wmi {

namespace {

constexpr const char* kEol = "\r\n";
constexpr size_t kMaxItemsShown = 1000;

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\r' || c == '\n') {
      out += c == '\r' ? "\\r" : "\\n";
      continue;
    }
    out += c;
  }
  return out + '"';
}

std::string ScalarText(const Value& value) {
  switch (value.type) {
    case kVtBstr:
      return Quoted(value.text);
    case kVtBool:
      return value.integer != 0 ? "true" : "false";
    case kVtNull:
    case kVtEmpty:
      return "NULL";
    default:
      return ValueToText(value, RegionalSettings{});
  }
}

std::vector<std::string> Items(const std::vector<Qualifier>& qualifiers, const char* name) {
  const Qualifier* q = FindQualifier(qualifiers, name);
  return q ? q->items : std::vector<std::string>{};
}

bool IsKey(const std::vector<Qualifier>& qualifiers) {
  const Qualifier* q = FindQualifier(qualifiers, "key");
  return q && q->value.type == kVtBool && q->value.integer != 0;
}

// Writes the text line by line and stops taking lines once it is full.
class PageWriter {
 public:
  void Line(int indent, const std::string& text) {
    if (full_) return;
    if (text_.size() + text.size() + 64 > kMaxDefinitionText) {
      text_ += "(The definition is too long to show in full.)";
      text_ += kEol;
      full_ = true;
      return;
    }
    text_.append(static_cast<size_t>(indent) * 4, ' ');
    text_ += text;
    text_ += kEol;
  }
  void Qualifiers(int indent, const std::vector<Qualifier>& qualifiers) {
    for (const Qualifier& q : qualifiers) {
      // The type is shown with the name already.
      if (util::AsciiLower(q.name) == "cimtype") continue;
      Line(indent, QualifierText(q));
    }
  }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
  bool full_ = false;
};

std::string TypeName(uint16_t cimType, const std::vector<Qualifier>& qualifiers) {
  // A reference or embedded object names its class in the CIMTYPE qualifier.
  std::string objectClass;
  if (const Qualifier* q = FindQualifier(qualifiers, "CIMTYPE"); q && q->value.type == kVtBstr) {
    const size_t colon = q->value.text.find(':');
    if (colon != std::string::npos) objectClass = q->value.text.substr(colon + 1);
  }
  return CimTypeName(cimType, objectClass);
}

void WriteParameters(PageWriter& page, const char* caption,
                     const std::vector<ParameterDefinition>& parameters) {
  if (parameters.empty()) return;
  page.Line(2, caption);
  for (const ParameterDefinition& p : parameters) {
    page.Line(3, TypeName(p.cimType, p.qualifiers) + " " + p.name);
    page.Qualifiers(4, p.qualifiers);
  }
}

std::string Signature(const MethodDefinition& method) {
  std::string returnType = "void";
  for (const ParameterDefinition& p : method.outputs) {
    if (util::AsciiLower(p.name) == "returnvalue") returnType = TypeName(p.cimType, p.qualifiers);
  }
  std::string list;
  for (const ParameterDefinition& p : method.inputs) {
    if (!list.empty()) list += ", ";
    list += TypeName(p.cimType, p.qualifiers) + " " + p.name;
  }
  return returnType + " " + method.name + "(" + list + ")";
}

}  // namespace

std::string QualifierText(const Qualifier& qualifier) {
  if ((qualifier.value.type & kVtArrayBit) == 0)
    return qualifier.name + " = " + ScalarText(qualifier.value);
  const bool text = (qualifier.value.type & kVtTypeMask) == kVtBstr;
  std::string out = qualifier.name + " = {";
  for (size_t i = 0; i < qualifier.items.size(); ++i) {
    if (i == kMaxItemsShown) {
      out += ", ... (" + std::to_string(qualifier.items.size() - i) + " more)";
      break;
    }
    if (i > 0) out += ", ";
    out += text ? Quoted(qualifier.items[i]) : qualifier.items[i];
  }
  return out + "}";
}

std::string ClassDefinitionText(const ClassDefinition& definition) {
  PageWriter page;
  page.Line(0, "类: " + definition.name);
  if (!definition.derivation.empty()) {
    std::string chain;
    for (const std::string& base : definition.derivation)
      chain += (chain.empty() ? "" : " > ") + base;
    page.Line(0, "超类: " + chain);
  }
  if (!definition.qualifiers.empty()) {
    page.Line(0, "类限定符:");
    page.Qualifiers(1, definition.qualifiers);
  }
  page.Line(0, "");
  page.Line(0, "属性 (" + std::to_string(definition.properties.size()) + "):");
  for (const PropertyDefinition& p : definition.properties) {
    page.Line(1, TypeName(p.cimType, p.qualifiers) + " " + p.name +
                     (IsKey(p.qualifiers) ? " (key)" : ""));
    if (!p.originClass.empty() &&
        util::AsciiLower(p.originClass) != util::AsciiLower(definition.name))
      page.Line(2, "来源: " + p.originClass);
    page.Qualifiers(2, p.qualifiers);
  }
  page.Line(0, "");
  page.Line(0, "方法 (" + std::to_string(definition.methods.size()) + "):");
  for (const MethodDefinition& m : definition.methods) {
    page.Line(1, Signature(m));
    if (!m.originClass.empty() &&
        util::AsciiLower(m.originClass) != util::AsciiLower(definition.name))
      page.Line(2, "来源: " + m.originClass);
    page.Qualifiers(2, m.qualifiers);
    const auto valueMap = Items(m.qualifiers, "ValueMap");
    const auto values = Items(m.qualifiers, "Values");
    if (!values.empty()) {
      page.Line(2, "返回值:");
      for (const ValueChoice& choice : ValueChoices(valueMap, values))
        page.Line(3, choice.sent + " = " + choice.display);
    }
    WriteParameters(page, "输入参数:", m.inputs);
    WriteParameters(page, "输出参数:", m.outputs);
  }
  if (!definition.mofText.empty()) {
    page.Line(0, "");
    page.Line(0, "MOF:");
    // The MOF text keeps its own lines, each ended the way the edit control wants.
    size_t start = 0;
    const std::string& mof = definition.mofText;
    while (start < mof.size()) {
      size_t end = mof.find('\n', start);
      if (end == std::string::npos) end = mof.size();
      std::string line = mof.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      page.Line(0, line);
      start = end + 1;
    }
  }
  return page.Take();
}

}  // namespace brevane::wmi
