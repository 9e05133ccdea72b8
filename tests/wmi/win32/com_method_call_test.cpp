#include "wmi/win32/com_method_call.h"

#include <gtest/gtest.h>

#include "framework/win32/com_apartment.h"
#include "wmi/parameter_input.h"
#include "wmi/win32/com_backend.h"
#include "wmi/win32/com_security.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi::win32 {
namespace {

class ComMethodCallTest : public ::testing::Test {
 protected:
  ComMethodCallTest() { InitializeComSecurity(); }

  std::unique_ptr<Services> Connect() {
    return backend_.CreateLocator()->ConnectServer(".", "root\\default", "", "");
  }

  static MethodArgument Argument(const char* name, const char* text, uint16_t cimType) {
    return {name, ParseParameterText(text, cimType).value.value()};
  }

  brevane::framework::win32::ComApartment apartment_;
  ComBackend backend_;
};

// The registry provider runs methods under Wine too: a static method on the class, a uint32
// above the signed range (HKEY_LOCAL_MACHINE) and a string, with an array coming back.
TEST_F(ComMethodCallTest, StaticMethodGetsTypedArgumentsAndGivesOutParameters) {
  auto out = Connect()->ExecMethod("StdRegProv", "EnumKey",
                                   {Argument("hDefKey", "2147483650", kCimUint32),
                                    Argument("sSubKeyName", "SOFTWARE", kCimString)});
  ASSERT_TRUE(out);
  const Value code = out->PropertyValue("ReturnValue");
  EXPECT_EQ(code.integer, 0);
  EXPECT_NE(out->PropertyValue("sNames").type & kVtArrayBit, 0);
}

TEST_F(ComMethodCallTest, RefusedCallsRaiseWithText) {
  auto services = Connect();
  const struct {
    const char* path;
    const char* method;
    std::vector<MethodArgument> arguments;
  } cases[] = {
      {"StdRegProv", "", {}},
      {"", "EnumKey", {}},
      {"StdRegProv", "NoSuchMethod", {}},
      {"StdRegProv", "EnumKey", {Argument("NoSuchParameter", "1", kCimUint32)}},
  };
  for (const auto& c : cases) {
    try {
      services->ExecMethod(c.path, c.method, c.arguments);
      ADD_FAILURE() << "no failure for " << c.path << "." << c.method;
    } catch (const WmiError& e) {
      EXPECT_FALSE(std::string(e.what()).empty()) << c.method;
    }
  }
}

}  // namespace
}  // namespace brevane::wmi::win32
