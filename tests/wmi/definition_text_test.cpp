#include "wmi/definition_text.h"

#include <gtest/gtest.h>

namespace brevane::wmi {
namespace {

Qualifier Strings(const char* name, std::vector<std::string> items) {
  return {name, Value::Array(kVtBstr, {{0, static_cast<int64_t>(items.size()) - 1}}), items};
}

ClassDefinition ServiceDefinition() {
  ClassDefinition d;
  d.name = "Brevane_Service";
  d.derivation = {"Brevane_Element", "Brevane_Base"};
  d.qualifiers = {{"dynamic", Value::Bool(true), {}},
                  {"Description", Value::Text("A \"service\""), {}}};
  d.properties = {
      {"Name", kCimString, "Brevane_Service", {{"key", Value::Bool(true), {}}}},
      {"State",
       kCimUint32,
       "Brevane_Element",
       {Strings("ValueMap", {"1", "4"}), Strings("Values", {"Stopped", "Running"})}},
      {"Owner",
       kCimReference,
       "Brevane_Service",
       {{"CIMTYPE", Value::Text("ref:Brevane_Account"), {}}}},
  };
  MethodDefinition start{
      "StartService",
      "Brevane_Service",
      {Strings("ValueMap", {"0", "10"}), Strings("Values", {"Success", "Service Already Running"})},
      {},
      {{"ReturnValue", kCimUint32, -1, {}}}};
  MethodDefinition change{"ChangeStartMode",
                          "Brevane_Service",
                          {},
                          {{"StartMode", kCimString, 0, {{"ID", Value::Int(0), {}}}}},
                          {{"ReturnValue", kCimUint32, -1, {}}}};
  d.methods = {start, change};
  d.mofText = "class Brevane_Service\n{\r\n};";
  return d;
}

TEST(DefinitionTextTest, ShowsEveryPartOfTheClass) {
  const std::string text = ClassDefinitionText(ServiceDefinition());
  const char* const expected[] = {
      "类: Brevane_Service\r\n",
      "超类: Brevane_Element > Brevane_Base\r\n",
      "    Description = \"A \\\"service\\\"\"\r\n",
      "    dynamic = true\r\n",
      "    string Name (key)\r\n        key = true\r\n",
      ("    uint32 State\r\n        来源: Brevane_Element\r\n"
       "        ValueMap = {\"1\", \"4\"}\r\n        Values = {\"Stopped\", \"Running\"}\r\n"),
      "    ref:Brevane_Account Owner\r\n",
      "方法 (2):\r\n    uint32 StartService()\r\n",
      "        返回值:\r\n            0 = Success\r\n            10 = Service Already Running\r\n",
      "    uint32 ChangeStartMode(string StartMode)\r\n",
      "        输入参数:\r\n            string StartMode\r\n                ID = 0\r\n",
      "        输出参数:\r\n            uint32 ReturnValue\r\n",
      "MOF:\r\nclass Brevane_Service\r\n{\r\n};\r\n",
  };
  for (const char* part : expected) EXPECT_NE(text.find(part), std::string::npos) << part;
  // The CIMTYPE qualifier is in the type already; the class's own name is no origin.
  EXPECT_EQ(text.find("CIMTYPE"), std::string::npos);
  EXPECT_EQ(text.find("来源: Brevane_Service"), std::string::npos);
}

TEST(DefinitionTextTest, HugeDefinitionsAreCutAndSaySo) {
  ClassDefinition d;
  d.name = "Big";
  d.mofText = std::string(kMaxDefinitionText, 'x') + "\n";
  Qualifier many = Strings("ValueMap", std::vector<std::string>(5000, "7"));
  d.properties = {{"P", kCimUint8, "Big", {many}}};
  const std::string text = ClassDefinitionText(d);
  EXPECT_LE(text.size(), kMaxDefinitionText);
  EXPECT_NE(text.find("(The definition is too long to show in full.)"), std::string::npos);
  EXPECT_NE(text.find(", ... (4000 more)}"), std::string::npos);
}

}  // namespace
}  // namespace brevane::wmi
