#include "wmi/method_call.h"

#include <gtest/gtest.h>

#include "support/fake_method_calls.h"
#include "support/fake_object_world.h"
#include "support/test_dispatcher.h"

namespace brevane::wmi {
namespace {

using testing::FakeWmi;

ParameterValue Parsed(const std::string& text, uint16_t cimType) {
  ParameterParse parse = ParseParameterText(text, cimType);
  EXPECT_TRUE(parse.value) << text << ": " << parse.error;
  return parse.value.value_or(ParameterValue{});
}

class MethodCallTest : public ::testing::Test {
 protected:
  MethodCallTest() {
    testing::AddObjectWorld(*fake);
    testing::AddObjectWorldMethods(*fake);
    for (const auto& entry : testing::ObjectWorldClassDefinitions())
      definitions.push_back(entry.definition);
    definitions.push_back(fake->CreateLocator()
                              ->ConnectServer(".", testing::kObjectWorldNamespace, "", "")
                              ->GetClassDefinition("Brevane_Sampler"));
  }

  MethodCallAnswer Call(const std::string& path, const std::string& method,
                        std::vector<MethodArgument> arguments = {}) {
    MethodCallAnswer answer;
    bool done = false;
    StartMethodCall(worker, kConn, {path, method, std::move(arguments)}, [&](MethodCallAnswer&& a) {
      answer = std::move(a);
      done = true;
    });
    EXPECT_TRUE(dispatcher->PumpUntil([&] { return done; }));
    return answer;
  }

  const MethodDefinition& Method(const std::string& className, const std::string& name) {
    for (const auto& d : definitions) {
      if (d.name != className) continue;
      for (const auto& m : d.methods) {
        if (m.name == name) return m;
      }
    }
    throw std::runtime_error("no such method");
  }

  std::string Text(const MethodCallAnswer& answer, const std::string& className,
                   const std::string& method) {
    return MethodResultText(Method(className, method), answer, RegionalSettings{});
  }

  const ConnectionParams kConn{".", testing::kObjectWorldNamespace, "", ""};
  std::shared_ptr<FakeWmi> fake = std::make_shared<FakeWmi>();
  std::shared_ptr<testing::TestDispatcher> dispatcher = std::make_shared<testing::TestDispatcher>();
  RequestWorker worker{fake, dispatcher};
  std::vector<ClassDefinition> definitions;
};

TEST_F(MethodCallTest, InstanceMethodsAnswerWithTheirReturnCodesAndChangeTheInstance) {
  const std::string gamma = R"(Brevane_Service.Name="Gamma")";
  const struct {
    std::string path, method, text;
  } cases[] = {
      {gamma, "StartService", "ReturnValue: 0 = Success"},
      {gamma, "StartService", "ReturnValue: 10 = Service Already Running"},
      {gamma, "StopService", "ReturnValue: 0 = Success"},
      {gamma, "StopService", "ReturnValue: 5 = Service Cannot Accept Control"},
      {R"(Brevane_Service.Name="Nobody")", "StartService", "Not found"},
      {"Brevane_Service", "StartService", "Invalid operation"},  // instance method on the class
      {gamma, "Create", "Invalid operation"},                    // static method on an instance
      {gamma, "Reboot", "Invalid method"},
  };
  for (const auto& c : cases) {
    const MethodCallAnswer answer = Call(c.path, c.method);
    EXPECT_EQ(Text(answer, "Brevane_Service", "StartService"), c.text) << c.method;
    EXPECT_EQ(answer.gone, c.text == "Not found") << c.method;
  }
  EXPECT_EQ(fake->Methods().Calls().size(), 4u);  // refused calls never reach a handler
}

TEST_F(MethodCallTest, TheProviderReceivesExactlyTheTypedValues) {
  const std::vector<MethodArgument> arguments{
      {"Level", Parsed("255", kCimUint8)},
      {"Offset", Parsed("-9223372036854775808", kCimSint64)},
      {"Ratio", Parsed("0.5", kCimReal64)},
      {"When", Parsed("20261210120000.000000+060", kCimDatetime)},
      {"Names", Parsed("a\r\n\r\nb c", kCimString | kCimArrayFlag)},
      {"Codes", Parsed("4294967295\n0x10", kCimUint32 | kCimArrayFlag)},
      {"Force", Parsed("true", kCimBoolean)},
      {"Mode", Parsed("", kCimUint16)},
      {"Target", Parsed(R"(Brevane_Service.Name="Alpha")", kCimReference)},
  };
  const MethodCallAnswer answer = Call("Brevane_Sampler", "Echo", arguments);
  ASSERT_TRUE(answer.ok) << answer.errorText;
  const auto calls = fake->Methods().Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls[0].onClass);
  const std::string received =
      "Level=uint8 255; Offset=sint64 -9223372036854775808; Ratio=real64 0.5; "
      "When=datetime 20261210120000.000000+060; Names=string[] [a, b c]; "
      "Codes=uint32[] [4294967295, 16]; Force=boolean true; Mode=NULL; "
      R"(Target=reference Brevane_Service.Name="Alpha")";
  EXPECT_EQ(testing::DescribeArguments(calls[0].arguments), received);
  EXPECT_EQ(Text(answer, "Brevane_Sampler", "Echo"),
            "ReturnValue: 0 = Success\r\nReceived: " + received + "\r\nCount: 8");
}

TEST_F(MethodCallTest, ResultTextRules) {
  MethodDefinition method;
  method.qualifiers = {{"Values", Value::Text(""), {"Zero", "One"}}};
  method.outputs = {{"ReturnValue", kCimUint32, -1, {}},
                    {"Kind", kCimUint16, 1, {{"ValueMap", {}, {"7"}}, {"Values", {}, {"Seven"}}}}};
  Value seven = Value::Int(7);
  seven.cimType = kCimUint16;
  const struct {
    const char* name;
    MethodCallAnswer answer;
    std::string text;
  } cases[] = {
      {"failure is WMI's text", {false, false, false, {}, "Access denied"}, "Access denied"},
      {"nothing returned", {true, true, false, {}, ""}, "The method returned no result."},
      {"Values without ValueMap count from 0",
       {true, false, false, {{"ReturnValue", Value::Int(1)}}, ""},
       "ReturnValue: 1 = One"},
      {"an unnamed code stands alone",
       {true, false, false, {{"ReturnValue", Value::Int(9)}}, ""},
       "ReturnValue: 9"},
      {"out-parameters use their own qualifiers, NULL is named",
       {true, false, false, {{"Kind", seven}, {"Other", Value::Null()}}, ""},
       "Kind: 7 = Seven\r\nOther: NULL"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MethodResultText(method, c.answer, RegionalSettings{}), c.text) << c.name;
  }
}

}  // namespace
}  // namespace brevane::wmi
