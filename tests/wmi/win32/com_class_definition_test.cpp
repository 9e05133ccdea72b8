#include "wmi/win32/com_class_definition.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/win32/com_apartment.h"
#include "util/text.h"
#include "wmi/win32/com_backend.h"
#include "wmi/win32/com_security.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi::win32 {
namespace {

class ComClassDefinitionTest : public ::testing::Test {
 protected:
  ComClassDefinitionTest() { InitializeComSecurity(); }

  std::unique_ptr<Services> Connect(const char* ns) {
    return backend_.CreateLocator()->ConnectServer(".", ns, "", "");
  }

  brevane::framework::win32::ComApartment apartment_;
  ComBackend backend_;
};

bool HasProperty(const ClassDefinition& d, const char* name) {
  return std::any_of(d.properties.begin(), d.properties.end(), [&](const PropertyDefinition& p) {
    return util::AsciiLower(p.name) == util::AsciiLower(name);
  });
}

// Windows gives the whole definition; Wine gives the properties with their types and the
// object's text, and no methods from the enumeration. Both must come through unharmed.
TEST_F(ComClassDefinitionTest, ReadsPropertiesTypesAndText) {
  const ClassDefinition d = Connect("root\\cimv2")->GetClassDefinition("Win32_Service");
  EXPECT_EQ(util::AsciiLower(d.name), "win32_service");
  ASSERT_TRUE(HasProperty(d, "Name"));
  for (const PropertyDefinition& p : d.properties) {
    EXPECT_NE(p.cimType, kCimUnknown) << p.name;
    EXPECT_EQ(p.name.rfind("__", 0), std::string::npos) << "system property " << p.name;
  }
  EXPECT_NE(d.mofText.find("Win32_Service"), std::string::npos);
  for (const MethodDefinition& m : d.methods) {
    if (m.outputs.empty()) continue;
    EXPECT_EQ(util::AsciiLower(m.outputs.front().name), "returnvalue") << m.name;
  }
}

TEST_F(ComClassDefinitionTest, UnknownOrEmptyClassRaisesWithText) {
  auto services = Connect("root\\cimv2");
  for (const char* name : {"Brevane_NoSuchClass", "", "  "}) {
    try {
      services->GetClassDefinition(name);
      ADD_FAILURE() << "no failure for \"" << name << "\"";
    } catch (const WmiError& e) {
      EXPECT_FALSE(std::string(e.what()).empty()) << name;
    }
  }
}

}  // namespace
}  // namespace brevane::wmi::win32
