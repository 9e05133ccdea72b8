#include "support/fake_method_calls.h"

#include "support/fake_object_world.h"
#include "support/fake_wmi.h"
#include "util/text.h"
#include "wmi/cim_type.h"
#include "wmi/object_path.h"
#include "wmi/value_text.h"

namespace brevane::testing {

namespace {

using wmi::MethodArgument;
using wmi::Property;
using wmi::Qualifier;
using wmi::Value;
using wmi::WmiError;

constexpr int32_t kInvalidMethod = static_cast<int32_t>(0x8004102Eu);
constexpr int32_t kInvalidOperation = static_cast<int32_t>(0x80041016u);

bool SameText(const std::string& a, const std::string& b) {
  return util::AsciiLower(a) == util::AsciiLower(b);
}

const MethodArgument* FindArgument(const FakeMethodCall& call, const char* name) {
  for (const MethodArgument& a : call.arguments) {
    if (SameText(a.name, name) && a.value.given) return &a;
  }
  return nullptr;
}

std::vector<Property> ReturnCode(uint32_t code) {
  return {{"ReturnValue", cim::Uint32(code)}};
}

// --- Brevane_Service ---

constexpr const char* kServiceClass = "Brevane_Service";

uint32_t StateOf(FakeWmi& fake, const std::string& path) {
  const auto state = fake.PropertyOf(kObjectWorldNamespace, path, "State");
  return state ? static_cast<uint32_t>(state->integer) : 0;
}

bool IsStartMode(const std::string& mode) {
  for (const char* known : {"Boot", "System", "Automatic", "Manual", "Disabled"}) {
    if (mode == known) return true;
  }
  return false;
}

void AddServiceMethods(FakeWmi& fake) {
  FakeMethodTable& table = fake.Methods();
  const std::string ns = kObjectWorldNamespace;
  table.Register(ns, kServiceClass, "StartService", false, [&fake](const FakeMethodCall& call) {
    if (StateOf(fake, call.objectPath) == 4) return ReturnCode(10);  // already running
    fake.SetPropertyValue(kObjectWorldNamespace, call.objectPath, "State", cim::Uint32(4));
    return ReturnCode(0);
  });
  table.Register(ns, kServiceClass, "StopService", false, [&fake](const FakeMethodCall& call) {
    if (StateOf(fake, call.objectPath) == 1) return ReturnCode(5);  // cannot accept the control
    fake.SetPropertyValue(kObjectWorldNamespace, call.objectPath, "State", cim::Uint32(1));
    return ReturnCode(0);
  });
  table.Register(ns, kServiceClass, "ChangeStartMode", false, [&fake](const FakeMethodCall& call) {
    const MethodArgument* mode = FindArgument(call, "StartMode");
    if (!mode || !IsStartMode(mode->value.elements.front().text)) return ReturnCode(21);
    fake.SetPropertyValue(kObjectWorldNamespace, call.objectPath, "StartMode",
                          cim::String(mode->value.elements.front().text));
    return ReturnCode(0);
  });
  table.Register(ns, kServiceClass, "Create", true, [&fake](const FakeMethodCall& call) {
    const MethodArgument* name = FindArgument(call, "Name");
    if (!name || name->value.elements.front().text.empty()) return ReturnCode(22);
    const std::string& text = name->value.elements.front().text;
    const std::string path = std::string(kServiceClass) + ".Name=" + wmi::QuotePathValue(text);
    if (fake.PropertyOf(kObjectWorldNamespace, path, "Name")) return ReturnCode(23);
    const MethodArgument* display = FindArgument(call, "DisplayName");
    fake.AddInstance(kObjectWorldNamespace, kServiceClass,
                     {{"Name", cim::String(text)},
                      {"DisplayName", display ? cim::String(display->value.elements.front().text)
                                              : cim::Null(wmi::kCimString)},
                      {"State", cim::Uint32(1)},
                      {"StartMode", cim::String("Manual")},
                      {"Owner", cim::Null(wmi::kCimReference)},
                      {"Caption", cim::String(text)}});
    return ReturnCode(0);
  });
}

// --- Brevane_Sampler ---

constexpr const char* kSampler = "Brevane_Sampler";

Qualifier SamplerFlag(const char* name) {
  return {name, Value::Bool(true), {}};
}
Qualifier SamplerTexts(const char* name, std::vector<std::string> items) {
  return {name, Value::Array(wmi::kVtBstr, {{0, static_cast<int64_t>(items.size()) - 1}}),
          std::move(items)};
}

wmi::ParameterDefinition SamplerParameter(const char* name, uint16_t cimType, int id,
                                          const char* direction, std::vector<Qualifier> more = {}) {
  std::vector<Qualifier> qualifiers{SamplerFlag(direction), {"ID", Value::Int(id), {}}};
  for (auto& q : more) qualifiers.push_back(std::move(q));
  return {name, cimType, id, std::move(qualifiers)};
}

wmi::ClassDefinition SamplerDefinition() {
  wmi::ClassDefinition d;
  d.name = kSampler;
  d.qualifiers = {SamplerFlag("dynamic")};
  d.properties = {{"Name", wmi::kCimString, kSampler, {SamplerFlag("key")}}};
  const auto array = [](uint16_t type) { return static_cast<uint16_t>(type | wmi::kCimArrayFlag); };
  d.methods = {{"Echo",
                kSampler,
                {SamplerFlag("Static"), SamplerTexts("ValueMap", {"0", "1"}),
                 SamplerTexts("Values", {"Success", "Nothing Given"})},
                {SamplerParameter("Level", wmi::kCimUint8, 0, "In"),
                 SamplerParameter("Offset", wmi::kCimSint64, 1, "In"),
                 SamplerParameter("Ratio", wmi::kCimReal64, 2, "In"),
                 SamplerParameter("When", wmi::kCimDatetime, 3, "In"),
                 SamplerParameter("Names", array(wmi::kCimString), 4, "In"),
                 SamplerParameter("Codes", array(wmi::kCimUint32), 5, "In"),
                 SamplerParameter("Force", wmi::kCimBoolean, 6, "In"),
                 SamplerParameter("Mode", wmi::kCimUint16, 7, "In",
                                  {SamplerTexts("ValueMap", {"1", "2", "3"}),
                                   SamplerTexts("Values", {"Low", "Medium", "High"})}),
                 SamplerParameter("Target", wmi::kCimReference, 8, "In",
                                  {{"CIMTYPE", Value::Text("ref:Brevane_Service"), {}}})},
                {{"ReturnValue", wmi::kCimUint32, -1, {SamplerFlag("out")}},
                 SamplerParameter("Received", wmi::kCimString, 9, "Out"),
                 SamplerParameter("Count", wmi::kCimUint32, 10, "Out")}}};
  d.mofText =
      "[dynamic]\nclass Brevane_Sampler\n{\n\t[key] string Name;\n\t[Static] uint32 "
      "Echo(...);\n};\n";
  return d;
}

void AddSampler(FakeWmi& fake) {
  fake.AddClass(kObjectWorldNamespace, kSampler, "", {"Name"}, {wmi::kCimString});
  fake.SetQualifiers(kObjectWorldNamespace, kSampler, "Name", {true, ""});
  fake.SetClassDefinition(kObjectWorldNamespace, SamplerDefinition());
  fake.AddInstance(kObjectWorldNamespace, kSampler, {{"Name", cim::String("Default")}});
  fake.Methods().Register(
      kObjectWorldNamespace, kSampler, "Echo", true, [](const FakeMethodCall& call) {
        uint32_t given = 0;
        for (const MethodArgument& a : call.arguments) given += a.value.given;
        std::vector<Property> out = ReturnCode(given == 0 ? 1 : 0);
        out.push_back({"Received", cim::String(DescribeArguments(call.arguments))});
        out.push_back({"Count", cim::Uint32(given)});
        return out;
      });
}

}  // namespace

void FakeMethodTable::Register(const std::string& nameSpace, const std::string& className,
                               const std::string& method, bool isStatic,
                               FakeMethodHandler handler) {
  std::lock_guard lock(lock_);
  entries_.push_back({nameSpace, className, method, isStatic, std::move(handler)});
}

std::vector<Property> FakeMethodTable::Call(FakeMethodCall call,
                                            const std::vector<std::string>& lineage) {
  FakeMethodHandler handler;
  {
    std::lock_guard lock(lock_);
    for (const std::string& className : lineage) {
      for (const Entry& e : entries_) {
        if (!SameText(e.nameSpace, call.nameSpace) || !SameText(e.className, className) ||
            !SameText(e.method, call.method)) {
          continue;
        }
        if (e.isStatic != call.onClass) throw WmiError(kInvalidOperation, "Invalid operation");
        handler = e.handler;
        call.className = e.className;
        break;
      }
      if (handler) break;
    }
    if (!handler) throw WmiError(kInvalidMethod, "Invalid method");
    calls_.push_back(call);
  }
  return handler(call);
}

std::vector<FakeMethodCall> FakeMethodTable::Calls() const {
  std::lock_guard lock(lock_);
  return calls_;
}

std::string DescribeArguments(const std::vector<MethodArgument>& arguments) {
  std::string text;
  for (const MethodArgument& a : arguments) {
    if (!text.empty()) text += "; ";
    text += a.name + "=";
    if (!a.value.given) {
      text += "NULL";
      continue;
    }
    text += wmi::CimTypeName(a.value.cimType) + " ";
    std::string items;
    for (const Value& element : a.value.elements) {
      if (!items.empty()) items += ", ";
      items += element.type == wmi::kVtBool ? (element.integer != 0 ? "true" : "false")
                                            : wmi::ValueToText(element, wmi::RegionalSettings{});
    }
    text += a.value.IsArray() ? "[" + items + "]" : items;
  }
  return text;
}

void AddObjectWorldMethods(FakeWmi& fake) {
  AddServiceMethods(fake);
  AddSampler(fake);
}

}  // namespace brevane::testing
