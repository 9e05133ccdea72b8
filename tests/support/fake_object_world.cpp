#include "support/fake_object_world.h"

#include "util/text.h"
#include "wmi/object_path.h"

namespace brevane::testing {

namespace {

using wmi::ClassDefinition;
using wmi::MethodDefinition;
using wmi::ParameterDefinition;
using wmi::PropertyDefinition;
using wmi::Qualifier;
using wmi::Value;

Qualifier Flag(const char* name) {
  return {name, Value::Bool(true), {}};
}
Qualifier Text(const char* name, std::string text) {
  return {name, Value::Text(std::move(text)), {}};
}
Qualifier Texts(const char* name, std::vector<std::string> items) {
  return {name, Value::Array(wmi::kVtBstr, {{0, static_cast<int64_t>(items.size()) - 1}}),
          std::move(items)};
}

constexpr const char* kService = "Brevane_Service";

ParameterDefinition ReturnValue() {
  return {"ReturnValue", wmi::kCimUint32, -1, {Flag("out")}};
}

ParameterDefinition In(const char* name, uint16_t cimType, int id,
                       std::vector<Qualifier> more = {}) {
  std::vector<Qualifier> qualifiers{Flag("In"), {"ID", Value::Int(id), {}}};
  for (auto& q : more) qualifiers.push_back(std::move(q));
  return {name, cimType, id, std::move(qualifiers)};
}

std::vector<Qualifier> ReturnCodes() {
  return {Texts("ValueMap", {"0", "2", "5", "10", "14"}),
          Texts("Values", {"Success", "Access Denied", "Service Cannot Accept Control",
                           "Service Already Running", "Service Disabled"})};
}

std::vector<std::string> StartModes() {
  return {"Boot", "System", "Automatic", "Manual", "Disabled"};
}

ClassDefinition ServiceDefinition() {
  ClassDefinition d;
  d.name = kService;
  d.derivation = {"Brevane_ManagedElement"};
  d.qualifiers = {Flag("dynamic"), Text("provider", "BrevaneProvider"),
                  Text("Description", "A service the test computer runs.")};
  d.properties = {
      {"Name",
       wmi::kCimString,
       kService,
       {Flag("key"), Text("Description", "The service's unique name.")}},
      {"DisplayName", wmi::kCimString, kService, {Text("Description", "The name shown.")}},
      {"State",
       wmi::kCimUint32,
       kService,
       {Texts("ValueMap", {"1", "4", "7"}), Texts("Values", {"Stopped", "Running", "Paused"})}},
      {"StartMode", wmi::kCimString, kService, {Texts("ValueMap", StartModes())}},
      {"Owner", wmi::kCimReference, kService, {Text("CIMTYPE", "ref:Brevane_Account")}},
      {"Caption", wmi::kCimString, "Brevane_ManagedElement", {}},
  };
  const std::vector<Qualifier> codes = ReturnCodes();
  d.methods = {
      {"StartService", kService, codes, {}, {ReturnValue()}},
      {"StopService", kService, codes, {}, {ReturnValue()}},
      {"ChangeStartMode",
       kService,
       codes,
       {In("StartMode", wmi::kCimString, 0,
           {Texts("ValueMap", StartModes()), Text("Description", "How the service starts.")})},
       {ReturnValue()}},
      {"Create",
       kService,
       {Flag("Static"), Texts("ValueMap", {"0", "22", "23"}),
        Texts("Values", {"Success", "Invalid Account", "Service Exists"})},
       {In("Name", wmi::kCimString, 0), In("DisplayName", wmi::kCimString, 1),
        In("StartMode", wmi::kCimString, 2, {Texts("ValueMap", StartModes())}),
        In("DesktopInteract", wmi::kCimBoolean, 3)},
       {ReturnValue()}},
  };
  d.mofText =
      "[dynamic, provider(\"BrevaneProvider\")]\nclass Brevane_Service : Brevane_ManagedElement\n"
      "{\n\t[key] string Name;\n\tstring DisplayName;\n\tuint32 State;\n\tstring StartMode;\n"
      "\tBrevane_Account ref Owner;\n\t[Static] uint32 Create([In] string Name, [In] string "
      "DisplayName, [In] string StartMode, [In] boolean DesktopInteract);\n"
      "\tuint32 StartService();\n\tuint32 StopService();\n"
      "\tuint32 ChangeStartMode([In] string StartMode);\n};\n";
  return d;
}

ClassDefinition DependsOnDefinition() {
  ClassDefinition d;
  d.name = "Brevane_DependsOn";
  d.qualifiers = {Flag("Association"), Flag("dynamic")};
  d.properties = {
      {"Antecedent",
       wmi::kCimReference,
       d.name,
       {Flag("key"), Text("CIMTYPE", "ref:Brevane_Service")}},
      {"Dependent",
       wmi::kCimReference,
       d.name,
       {Flag("key"), Text("CIMTYPE", "ref:Brevane_Service")}},
  };
  d.mofText =
      "[Association, dynamic]\nclass Brevane_DependsOn\n{\n\t[key] Brevane_Service ref "
      "Antecedent;\n\t[key] Brevane_Service ref Dependent;\n};\n";
  return d;
}

ClassDefinition AccountDefinition() {
  ClassDefinition d;
  d.name = "Brevane_Account";
  d.properties = {{"Name", wmi::kCimString, d.name, {Flag("key")}},
                  {"Domain", wmi::kCimString, d.name, {}}};
  d.mofText = "class Brevane_Account\n{\n\t[key] string Name;\n\tstring Domain;\n};\n";
  return d;
}

ClassDefinition ElementDefinition() {
  ClassDefinition d;
  d.name = "Brevane_ManagedElement";
  d.qualifiers = {Flag("abstract")};
  d.properties = {{"Caption", wmi::kCimString, d.name, {}}};
  d.mofText = "[abstract]\nclass Brevane_ManagedElement\n{\n\tstring Caption;\n};\n";
  return d;
}

// Registers a class from its definition: properties, types, keys, the definition itself.
void AddDefinedClass(FakeWmi& fake, const NamespacedDefinition& entry) {
  const ClassDefinition& d = entry.definition;
  std::vector<std::string> names;
  std::vector<uint16_t> types;
  for (const PropertyDefinition& p : d.properties) {
    names.push_back(p.name);
    types.push_back(p.cimType);
  }
  fake.AddClass(entry.nameSpace, d.name, d.derivation.empty() ? "" : d.derivation.front(), names,
                types);
  for (const PropertyDefinition& p : d.properties) {
    wmi::PropertyQualifiers q;
    q.key = wmi::FindQualifier(p.qualifiers, "key") != nullptr;
    if (const Qualifier* type = wmi::FindQualifier(p.qualifiers, "CIMTYPE"))
      q.objectClass = type->value.text.substr(type->value.text.find(':') + 1);
    fake.SetQualifiers(entry.nameSpace, d.name, p.name, q);
  }
  fake.SetClassDefinition(entry.nameSpace, d);
}

std::string ServicePath(const std::string& name) {
  return std::string(kService) + ".Name=" + wmi::QuotePathValue(name);
}

void AddService(FakeWmi& fake, const std::string& name, uint32_t state, wmi::Value owner) {
  fake.AddInstance(kObjectWorldNamespace, kService,
                   {{"Name", cim::String(name)},
                    {"DisplayName", cim::String(name + " service")},
                    {"State", cim::Uint32(state)},
                    {"StartMode", cim::String(state == 4 ? "Automatic" : "Manual")},
                    {"Owner", std::move(owner)},
                    {"Caption", cim::String(name)}});
}

void AddDependency(FakeWmi& fake, const std::string& antecedent, const std::string& dependent) {
  // One end written as a full path, the other as a relative one, as providers mix them.
  fake.AddInstance(kObjectWorldNamespace, "Brevane_DependsOn",
                   {{"Antecedent", cim::Reference("\\\\.\\root\\cimv2:" + ServicePath(antecedent))},
                    {"Dependent", cim::Reference(ServicePath(dependent))}});
}

}  // namespace

std::vector<NamespacedDefinition> ObjectWorldClassDefinitions() {
  return {{kObjectWorldNamespace, ElementDefinition()},
          {kObjectWorldNamespace, ServiceDefinition()},
          {kObjectWorldNamespace, DependsOnDefinition()},
          {kAccountNamespace, AccountDefinition()}};
}

void AddObjectWorld(FakeWmi& fake) {
  // As on a real computer, paths name it by its own name, not "." or "localhost".
  fake.SetComputerName(kObjectWorldComputer);
  fake.AddNamespace(kAccountNamespace);
  fake.RefuseNamespace(kLockedNamespace,
                       wmi::WmiError(fake_status::kAccessDenied, "Access is denied"));
  for (const NamespacedDefinition& entry : ObjectWorldClassDefinitions())
    AddDefinedClass(fake, entry);
  fake.AddInstance(kAccountNamespace, "Brevane_Account",
                   {{"Name", cim::String("LocalSystem")}, {"Domain", cim::String("NT AUTHORITY")}});
  AddService(fake, "Alpha", 4,
             cim::Reference("\\\\" + std::string(kObjectWorldComputer) +
                            "\\root\\brevane:Brevane_Account.Name=\"LocalSystem\""));
  AddService(fake, "Beta", 4,
             cim::Reference("\\\\" + std::string(kObjectWorldComputer) + "\\" + kLockedNamespace +
                            ":Brevane_Account.Name=\"Guest\""));
  AddService(fake, "Gamma", 1, cim::Null(wmi::kCimReference));
  AddService(fake, "Delta", 1,
             cim::Reference("\\\\FARAWAY\\root\\brevane:Brevane_Account.Name=\"Admin\""));
  AddDependency(fake, "Alpha", "Beta");
  AddDependency(fake, "Alpha", "Gamma");
  AddDependency(fake, "Beta", "Gamma");
}

void AddManyRelated(FakeWmi& fake, int count) {
  AddService(fake, "Hub", 4, cim::Null(wmi::kCimReference));
  for (int i = 0; i < count; ++i) {
    const std::string name = util::Format("Leaf%05d", i);
    AddService(fake, name, 1, cim::Null(wmi::kCimReference));
    AddDependency(fake, "Hub", name);
  }
}

}  // namespace brevane::testing
