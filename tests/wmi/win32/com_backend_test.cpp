// The COM backend against the platform's real WMI (under Wine in the test runs). Only what
// both Windows and Wine answer the same way is asserted; counts are never exact.
#include "wmi/win32/com_backend.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "framework/win32/com_apartment.h"
#include "util/text.h"
#include "wmi/win32/com_locator.h"
#include "wmi/win32/com_security.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi::win32 {
namespace {

constexpr int32_t Status(uint32_t code) {
  return static_cast<int32_t>(code);
}

std::vector<Property> PropertiesOf(Object& object) {
  std::vector<Property> properties;
  auto walk = object.Properties();
  Property property;
  while (walk->Next(property)) properties.push_back(property);
  return properties;
}

// WMI implementations differ in the case of some property names.
const Property* FindProperty(const std::vector<Property>& properties, const std::string& name) {
  for (const auto& property : properties) {
    if (util::AsciiLower(property.name) == util::AsciiLower(name)) return &property;
  }
  return nullptr;
}

int CountObjects(ObjectSet& set) {
  auto walk = set.NewEnum();
  std::unique_ptr<Object> object;
  int count = 0;
  while (walk->Next(object)) ++count;
  return count;
}

bool IsDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

class ComBackendTest : public ::testing::Test {
 protected:
  ComBackendTest() { InitializeComSecurity(); }

  std::unique_ptr<Services> ConnectLocal(const std::string& host = ".") {
    return backend_.CreateLocator()->ConnectServer(host, "root\\cimv2", "", "");
  }

  brevane::framework::win32::ComApartment apartment_;
  ComBackend backend_;
};

TEST_F(ComBackendTest, CreatesTheLocator) {
  ASSERT_TRUE(apartment_.Joined());
  EXPECT_NE(backend_.CreateLocator(), nullptr);
}

TEST_F(ComBackendTest, ConnectsByEveryNameOfThisComputer) {
  for (const std::string host : {".", "", "localhost", "LocalHost", "\\\\localhost"}) {
    SCOPED_TRACE(host);
    std::unique_ptr<Services> services;
    ASSERT_NO_THROW(services = ConnectLocal(host));
    EXPECT_EQ(CountObjects(*services->InstancesOf("Win32_OperatingSystem", kFlagSemisync)), 1);
  }
}

TEST_F(ComBackendTest, RefusedConnectionsRaiseWithText) {
  struct Case {
    std::string host;
    std::string ns;
  } const cases[] = {
      {".", "root\\nosuch"},
      {".", ""},  // must be refused before it reaches the platform
      {".", "   "},
      {"localhost", "root\\nosuch"},
  };
  auto locator = backend_.CreateLocator();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.host + " / " + c.ns);
    try {
      locator->ConnectServer(c.host, c.ns, "", "");
      ADD_FAILURE() << "connected";
    } catch (const WmiError& e) {
      EXPECT_EQ(e.Status(), Status(0x8004100Eu));
      EXPECT_STREQ(e.what(), "Invalid namespace");
    }
  }
}

TEST_F(ComBackendTest, UnknownOrAbsurdHostFailsWithText) {
  auto locator = backend_.CreateLocator();
  for (const std::string& host : {std::string("brevane-no-such-host"), std::string(5000, 'h')}) {
    try {
      locator->ConnectServer(host, "root\\cimv2", "", "");
      ADD_FAILURE() << "connected to " << host.substr(0, 40);
    } catch (const WmiError& e) {
      EXPECT_LT(e.Status(), 0);
      EXPECT_NE(std::string(e.what()), "");
      EXPECT_EQ(std::string(e.what()).find("OLE error"), std::string::npos) << e.what();
    }
  }
}

TEST(ConnectionPathTest, NamesThisComputerOrAnotherOne) {
  struct Case {
    std::string host;
    std::string ns;
    std::wstring path;
  } const cases[] = {
      {".", "root\\cimv2", L"root\\cimv2"},
      {"", "root\\wmi", L"root\\wmi"},
      {"localhost", "root\\cimv2", L"\\\\localhost\\root\\cimv2"},
      {"SERVER1", "root\\cimv2", L"\\\\SERVER1\\root\\cimv2"},
      {"\\\\SERVER1", "root\\cimv2", L"\\\\SERVER1\\root\\cimv2"},
      {" server1 ", "\\root\\default", L"\\\\server1\\root\\default"},
      {"\\\\.", "root\\cimv2", L"root\\cimv2"},
  };
  for (const auto& c : cases) EXPECT_EQ(ConnectionPath(c.host, c.ns), c.path) << c.host;
}

TEST_F(ComBackendTest, ProcessInstancesCarryTheirValues) {
  auto services = ConnectLocal();
  auto walk = services->InstancesOf("Win32_Process", kFlagSemisync)->NewEnum();
  const std::string ownId = std::to_string(GetCurrentProcessId());
  std::unique_ptr<Object> process;
  int count = 0;
  bool sawSelf = false;
  while (walk->Next(process)) {
    ++count;
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(process->ClassName(), "Win32_Process");
    const auto properties = PropertiesOf(*process);
    const Property* handle = FindProperty(properties, "Handle");
    ASSERT_NE(handle, nullptr);
    ASSERT_EQ(handle->value.type, kVtBstr);
    if (handle->value.text != ownId) continue;
    sawSelf = true;
    const Property* threads = FindProperty(properties, "ThreadCount");
    ASSERT_NE(threads, nullptr);
    EXPECT_EQ(threads->value.type, kVtI4);
    EXPECT_GE(threads->value.integer, 1);
    EXPECT_EQ(process->PropertyValue("Name").text, FindProperty(properties, "Name")->value.text);
  }
  EXPECT_GE(count, 1);
  EXPECT_TRUE(sawSelf);
}

TEST_F(ComBackendTest, OperatingSystemGivesBigNumbersAndDatesAsText) {
  auto services = ConnectLocal();
  auto walk = services->InstancesOf("Win32_OperatingSystem", kFlagSemisync)->NewEnum();
  std::unique_ptr<Object> os;
  ASSERT_TRUE(walk->Next(os));
  const auto properties = PropertiesOf(*os);
  EXPECT_GT(properties.size(), 10u);
  const Property* memory = FindProperty(properties, "TotalVisibleMemorySize");  // uint64
  ASSERT_NE(memory, nullptr);
  EXPECT_EQ(memory->value.type, kVtBstr);
  EXPECT_TRUE(IsDigits(memory->value.text)) << memory->value.text;
  const Property* date = FindProperty(properties, "LocalDateTime");  // datetime, DMTF text
  ASSERT_NE(date, nullptr);
  EXPECT_EQ(date->value.type, kVtBstr);
  ASSERT_GE(date->value.text.size(), 21u);
  EXPECT_EQ(date->value.text[14], '.');
  EXPECT_NE(os->ObjectText(0).find("instance of Win32_OperatingSystem"), std::string::npos);
  EXPECT_FALSE(walk->Next(os));
  EXPECT_EQ(os, nullptr);
}

// Both reads of a value (the property walk and Get) carry the CIM type WMI reports with it,
// which is what tells a uint32 in a VT_I4 from a sint32.
TEST_F(ComBackendTest, ValuesKeepTheirKindsAndCimTypes) {
  auto services = ConnectLocal();
  struct Expectation {
    const char* className;
    const char* property;
    uint16_t type;
    uint16_t cimType;
  } const expectations[] = {
      {"Win32_Service", "AcceptStop", kVtBool, kCimBoolean},
      {"Win32_Service", "Name", kVtBstr, kCimString},
      {"Win32_SystemEnclosure", "ChassisTypes", kVtArrayBit | kVtI4, kCimArrayFlag | kCimUint16},
      {"Win32_WinSAT", "CPUScore", kVtR4, kCimReal32},
      {"Win32_Process", "ThreadCount", kVtI4, kCimUint32},
      {"Win32_OperatingSystem", "TotalVisibleMemorySize", kVtBstr, kCimUint64},
      {"Win32_OperatingSystem", "LocalDateTime", kVtBstr, kCimDatetime},
  };
  for (const auto& e : expectations) {
    SCOPED_TRACE(std::string(e.className) + "." + e.property);
    auto walk = services->InstancesOf(e.className, kFlagSemisync)->NewEnum();
    std::unique_ptr<Object> object;
    ASSERT_TRUE(walk->Next(object));
    const Value value = object->PropertyValue(e.property);
    EXPECT_EQ(value.cimType, e.cimType);
    const auto properties = PropertiesOf(*object);
    const Property* walked = FindProperty(properties, e.property);
    ASSERT_NE(walked, nullptr);
    EXPECT_EQ(walked->value.cimType, e.cimType);
    if (value.type == kVtNull) continue;  // the platform may simply not know it
    EXPECT_EQ(value.type, e.type);
    if (value.type == kVtBool) {
      EXPECT_TRUE(value.integer == 0 || value.integer == -1);
    }
    if (value.type & kVtArrayBit) {
      ASSERT_EQ(value.bounds.size(), 1u);
      EXPECT_EQ(value.bounds[0].lower, 0);
      EXPECT_GE(value.bounds[0].upper, -1);
    }
  }
}

TEST_F(ComBackendTest, StringArraysComeWithTheirBounds) {
  auto services = ConnectLocal();
  auto walk = services->InstancesOf("Win32_NetworkAdapterConfiguration", kFlagSemisync)->NewEnum();
  std::unique_ptr<Object> adapter;
  while (walk->Next(adapter)) {
    for (const auto& property : PropertiesOf(*adapter)) {
      if (!(property.value.type & kVtArrayBit)) continue;
      SCOPED_TRACE(property.name);
      EXPECT_EQ(property.value.type, kVtArrayBit | kVtBstr);
      ASSERT_EQ(property.value.bounds.size(), 1u);
      EXPECT_EQ(property.value.bounds[0].lower, 0);
    }
  }
}

TEST_F(ComBackendTest, PropertyValueOfUnknownOrEmptyNameRaises) {
  auto services = ConnectLocal();
  auto walk = services->InstancesOf("Win32_OperatingSystem", kFlagSemisync)->NewEnum();
  std::unique_ptr<Object> os;
  ASSERT_TRUE(walk->Next(os));
  for (const std::string name : {"NoSuchProperty", ""}) {
    try {
      os->PropertyValue(name);
      ADD_FAILURE() << "read " << name;
    } catch (const WmiError& e) {
      EXPECT_NE(std::string(e.what()), "");
    }
  }
}

TEST_F(ComBackendTest, QueryReturnsTheSelectedPropertiesInOrder) {
  auto services = ConnectLocal();
  auto rows = services->ExecQuery("select Caption, ThreadCount from Win32_Process", "WQL", 0);
  auto walk = rows->NewEnum();
  std::unique_ptr<Object> row;
  int count = 0;
  while (walk->Next(row)) {
    ++count;
    const auto properties = PropertiesOf(*row);
    ASSERT_EQ(properties.size(), 2u);
    EXPECT_EQ(util::AsciiLower(properties[0].name), "caption");
    EXPECT_EQ(util::AsciiLower(properties[1].name), "threadcount");
    EXPECT_EQ(properties[0].value.type, kVtBstr);
    EXPECT_EQ(properties[1].value.type, kVtI4);
  }
  EXPECT_GE(count, 1);
}

TEST_F(ComBackendTest, QueryWithWhereFindsThisProcess) {
  auto services = ConnectLocal();
  const std::string query =
      "select * from Win32_Process where Handle = '" + std::to_string(GetCurrentProcessId()) + "'";
  EXPECT_EQ(CountObjects(*services->ExecQuery(query, "WQL", 0)), 1);
}

TEST_F(ComBackendTest, WalksAgreeAcrossBatchesAndRepeatedWalks) {
  auto services = ConnectLocal();
  // More services than the first few batches hold, so growing batches must lose nothing.
  const int queried = CountObjects(*services->ExecQuery("select * from Win32_Service", "WQL", 0));
  EXPECT_GT(queried, 16);
  EXPECT_EQ(CountObjects(*services->InstancesOf("Win32_Service", kFlagSemisync)), queried);
  // A set that is not forward-only can be walked again from the start.
  auto set = services->ExecQuery("select Name from Win32_Service", "WQL", 0);
  EXPECT_EQ(CountObjects(*set), queried);
  EXPECT_EQ(CountObjects(*set), queried);
}

TEST_F(ComBackendTest, ClassObjectListsItsInstances) {
  auto services = ConnectLocal();
  auto serviceClass = services->Get("Win32_Service", 0);
  ASSERT_NE(serviceClass, nullptr);
  EXPECT_EQ(serviceClass->ClassName(), "Win32_Service");
  EXPECT_GT(CountObjects(*serviceClass->Instances(0)), 0);
}

TEST_F(ComBackendTest, ClassPropertyQualifiersCanBeRead) {
  auto services = ConnectLocal();
  auto serviceClass = services->Get("Win32_Service", 0);
  ASSERT_NE(serviceClass, nullptr);
  // Windows declares Name as the key; Wine declares no key qualifiers at all. Either way the
  // qualifiers of a plain property come back without an object class.
  const PropertyQualifiers name = serviceClass->Qualifiers("Name");
  EXPECT_EQ(name.objectClass, "");
  EXPECT_FALSE(serviceClass->Qualifiers("State").key);
  EXPECT_THROW(serviceClass->Qualifiers(""), WmiError);
}

TEST_F(ComBackendTest, BadRequestsRaiseWithTextAndNeverCrash) {
  auto services = ConnectLocal();
  struct Case {
    const char* what;
    std::function<void()> call;
    int32_t status;
    const char* text;
  } const cases[] = {
      {"syntax error", [&] { services->ExecQuery("selec * frm Win32_Process", "WQL", 0); },
       Status(0x80041017u), "Invalid query"},
      {"empty query", [&] { services->ExecQuery("  ", "WQL", 0); }, Status(0x80041017u),
       "Invalid query"},
      {"no language", [&] { services->ExecQuery("select * from Win32_Process", "", 0); },
       Status(0x80041018u), "Invalid query type"},
      {"empty path", [&] { services->Get("", 0); }, Status(0x8004103Au), "Invalid object path"},
      {"blank path", [&] { services->Get(" ", 0); }, Status(0x8004103Au), "Invalid object path"},
      {"empty class", [&] { services->InstancesOf("", kFlagSemisync); }, Status(0x80041010u),
       "Invalid class"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      c.call();
      ADD_FAILURE() << "no failure";
    } catch (const WmiError& e) {
      EXPECT_EQ(e.Status(), c.status);
      EXPECT_STREQ(e.what(), c.text);
    }
  }
}

TEST_F(ComBackendTest, ClassListEitherWorksOrRaisesWithText) {
  auto services = ConnectLocal();
  try {
    auto classes = services->SubclassesOf("", 0);
    EXPECT_GT(CountObjects(*classes), 0);
  } catch (const WmiError& e) {  // Wine has no class enumeration
    EXPECT_LT(e.Status(), 0);
    EXPECT_NE(std::string(e.what()), "");
    EXPECT_EQ(std::string(e.what()).find("OLE error"), std::string::npos) << e.what();
  }
}

TEST_F(ComBackendTest, StopRequestEndsTheWalk) {
  auto services = ConnectLocal();
  auto walk = services->InstancesOf("Win32_Process", kFlagSemisync)->NewEnum();
  std::stop_source stop;
  std::unique_ptr<Object> object;
  ASSERT_TRUE(walk->Next(object, stop.get_token()));
  stop.request_stop();
  EXPECT_FALSE(walk->Next(object, stop.get_token()));
  EXPECT_EQ(object, nullptr);
}

TEST_F(ComBackendTest, WorkerThreadUsesItsOwnApartmentAndConnection) {
  int count = -1;
  std::string failure;
  APTTYPE apartment = APTTYPE_STA;
  std::thread worker([&] {
    try {
      auto scope = backend_.EnterThread();
      APTTYPEQUALIFIER qualifier{};
      if (FAILED(CoGetApartmentType(&apartment, &qualifier))) apartment = APTTYPE_STA;
      auto services = backend_.CreateLocator()->ConnectServer(".", "root\\cimv2", "", "");
      count = CountObjects(*services->InstancesOf("Win32_Process", kFlagSemisync));
    } catch (const std::exception& e) {
      failure = e.what();
    }
  });
  worker.join();
  EXPECT_EQ(failure, "");
  EXPECT_GE(count, 1);
  EXPECT_EQ(apartment, APTTYPE_MTA);  // a worker pumps no messages
}

TEST_F(ComBackendTest, HostileQueriesFailOrAnswerWithoutCrashing) {
  auto services = ConnectLocal();
  const std::string queries[] = {
      "select * from Win32_Process where Name = '" + std::string(1 << 20, 'a') + "'",
      "select * from Win32_Process where " + std::string(20000, '(') + "Name = 'x'" +
          std::string(20000, ')'),
      std::string("select * from Win32_Process\0 where", 34),
      "select * from Win32_Process where Name = '\xE6\x9C\xAC\xFF\xFE'",
  };
  for (const auto& query : queries) {
    try {
      CountObjects(*services->ExecQuery(query, "WQL", 0));
    } catch (const WmiError& e) {
      EXPECT_NE(std::string(e.what()), "");
    }
  }
}

}  // namespace
}  // namespace brevane::wmi::win32
