#include "app/method_form.h"

#include <gtest/gtest.h>

#include "support/fake_object_world.h"

namespace brevane::app {
namespace {

FieldInput T(const char* text) {
  return {text, std::nullopt};
}
FieldInput C(std::optional<bool> checked) {
  return {"", checked};
}

const wmi::ClassDefinition& Service() {
  static const wmi::ClassDefinition definition = [] {
    for (auto& entry : testing::ObjectWorldClassDefinitions()) {
      if (entry.definition.name == "Brevane_Service") return entry.definition;
    }
    return wmi::ClassDefinition{};
  }();
  return definition;
}

const wmi::MethodDefinition& ServiceMethod(const std::string& name) {
  for (const auto& m : Service().methods) {
    if (m.name == name) return m;
  }
  throw std::runtime_error("no method " + name);
}

std::vector<std::string> Names(const std::vector<const wmi::MethodDefinition*>& methods) {
  std::vector<std::string> names;
  for (const auto* m : methods) names.push_back(m->name);
  return names;
}

TEST(MethodForm, StaticMethodsAloneWithoutAnInstance) {
  EXPECT_EQ(Names(OfferedMethods(Service(), false)), std::vector<std::string>{"Create"});
  EXPECT_EQ(Names(OfferedMethods(Service(), true)),
            (std::vector<std::string>{"StartService", "StopService", "ChangeStartMode", "Create"}));
  const std::string alpha = R"(Brevane_Service.Name="Alpha")";
  EXPECT_EQ(CallTarget(ServiceMethod("Create"), "Brevane_Service", alpha), "Brevane_Service");
  EXPECT_EQ(CallTarget(ServiceMethod("StartService"), "Brevane_Service", alpha), alpha);
  EXPECT_EQ(CallTarget(ServiceMethod("StartService"), "Brevane_Service", ""), "");
}

TEST(MethodForm, EachParameterGetsTheEditorOfItsType) {
  wmi::MethodDefinition method;
  const auto in = [](const char* name, uint16_t type, std::vector<wmi::Qualifier> q = {}) {
    return wmi::ParameterDefinition{name, type, 0, std::move(q)};
  };
  method.inputs = {
      in("Count", wmi::kCimUint32),
      in("Names", wmi::kCimString | wmi::kCimArrayFlag),
      in("Force", wmi::kCimBoolean),
      in("Mode", wmi::kCimUint16, {{"ValueMap", {}, {"1", "2"}}, {"Values", {}, {"Low", "High"}}}),
      in("When", wmi::kCimDatetime),
      in("Target", wmi::kCimReference, {{"CIMTYPE", wmi::Value::Text("ref:Win32_Foo"), {}}}),
  };
  const struct {
    EditorKind kind;
    const char* label;
    const char* hint;
  } expected[] = {
      {EditorKind::Text, "Count (uint32)", ""},
      {EditorKind::Lines, "Names (string[])", ""},
      {EditorKind::Check, "Force (boolean)", ""},
      {EditorKind::Choice, "Mode (uint16)", ""},
      {EditorKind::Text, "When (datetime)", "yyyymmddHHMMSS.mmmmmm+UUU"},
      {EditorKind::Text, "Target (ref:Win32_Foo)", "Class.Key=\"value\""},
  };
  const std::vector<MethodField> fields = MethodFields(method);
  ASSERT_EQ(fields.size(), std::size(expected));
  for (size_t i = 0; i < fields.size(); ++i) {
    EXPECT_EQ(fields[i].kind, expected[i].kind) << i;
    EXPECT_EQ(fields[i].label, expected[i].label) << i;
    EXPECT_EQ(fields[i].hint, expected[i].hint) << i;
  }
  EXPECT_EQ(fields[3].choices.size(), 2u);
}

TEST(MethodForm, FieldsThatDoNotParseStopTheCall) {
  const std::vector<MethodField> fields = MethodFields(ServiceMethod("Create"));
  const struct {
    const char* name;
    std::vector<FieldInput> inputs;
    std::vector<bool> failing;  // per field
  } cases[] = {
      {"all given", {T("Svc"), T("A service"), T("Manual"), C(true)}, {false, false, false, false}},
      {"none given is fine", {T(""), T(""), T(""), C({})}, {false, false, false, false}},
      {"a value the list lacks is sent as typed",
       {T("x"), T(""), T("Other"), C({})},
       {false, false, false, false}},
  };
  for (const auto& c : cases) {
    const FormCheck check = CheckMethodFields(fields, c.inputs);
    for (size_t i = 0; i < fields.size(); ++i)
      EXPECT_EQ(!check.errors[i].empty(), c.failing[i]) << c.name << " " << i;
    EXPECT_TRUE(check.ok) << c.name;
    EXPECT_EQ(check.arguments.size(), fields.size()) << c.name;
  }
  const FormCheck check = CheckMethodFields(fields, {T("Svc"), T(""), T("Manual"), C(false)});
  EXPECT_FALSE(check.arguments[3].value.elements.front().integer);
  EXPECT_TRUE(check.arguments[3].value.given);

  // Out of range and malformed: refused with the field's message, nothing to send.
  std::vector<MethodField> typed{
      {"Level", wmi::kCimUint8, EditorKind::Text, "", "", {}},
      {"When", wmi::kCimDatetime, EditorKind::Text, "", "", {}},
      {"Codes", wmi::kCimUint32 | wmi::kCimArrayFlag, EditorKind::Lines, "", "", {}}};
  const FormCheck refused = CheckMethodFields(typed, {T("256"), T("2026-12-10"), T("1\nx")});
  EXPECT_FALSE(refused.ok);
  EXPECT_TRUE(refused.arguments.empty());
  for (const std::string& error : refused.errors) EXPECT_FALSE(error.empty());
}

TEST(MethodForm, ConfirmationNamesMethodPathAndComputer) {
  EXPECT_EQ(ConfirmationText("StartService", R"(Brevane_Service.Name="Alpha")", "SRV1"),
            "Run the method StartService on Brevane_Service.Name=\"Alpha\" on the computer SRV1?"
            "\r\n\r\nThe method may change the computer; once sent, the call cannot be "
            "cancelled.");
  for (const char* local : {"", ".", "localhost"}) {
    EXPECT_NE(ConfirmationText("Create", "Brevane_Service", local).find("on this computer?"),
              std::string::npos);
  }
}

}  // namespace
}  // namespace brevane::app
