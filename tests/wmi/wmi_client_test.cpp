#include "wmi/wmi_client.h"

#include <gtest/gtest.h>

#include "support/fake_wmi.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi {
namespace {

using testing::EnumerationFault;
using testing::FakeWmi;

class WmiClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.AddClass("root\\cimv2", "Win32_Process", "", {"Name", "Handle"});
    fake.AddClass("root\\cimv2", "Win32_Service", "", {"Name", "State"});
    fake.AddClass("root\\cimv2", "Win32_Printer", "", {"Name"});
    fake.AddInstance("root\\cimv2", "Win32_Process",
                     {{"Name", Value::Text("a.exe")}, {"Handle", Value::Text("4")}});
    fake.AddInstance("root\\cimv2", "Win32_Service",
                     {{"Name", Value::Text("svc")}, {"State", Value::Text("Running")}});
  }
  FakeWmi fake;
  TWMI client{fake, RegionalSettings{}};
};

TEST_F(WmiClientTest, DefaultsAndSetters) {
  EXPECT_EQ(client.Host, ".");
  EXPECT_EQ(client.Namespace, "root\\cimv2");
  client.SetHost("");
  client.SetNamespace("");
  EXPECT_EQ(client.Host, ".");
  EXPECT_EQ(client.Namespace, "root\\cimv2");
  client.SetHost("server1");
  EXPECT_EQ(client.Host, "server1");
}

TEST_F(WmiClientTest, LocalDotHostDropsCredentialsForGood) {
  client.User = "ann";
  client.Password = "secret";
  util::StringList classes;
  ASSERT_TRUE(client.GetClasses(classes));
  EXPECT_TRUE(client.User.empty());
  EXPECT_TRUE(client.Password.empty());
  EXPECT_EQ(fake.LastConnectUser(), "");
}

TEST_F(WmiClientTest, LocalhostKeepsCredentials) {
  client.SetHost("localhost");
  client.User = "ann";
  client.Password = "secret";
  util::StringList classes;
  ASSERT_TRUE(client.GetClasses(classes));
  EXPECT_EQ(client.User, "ann");
  EXPECT_EQ(fake.LastConnectUser(), "ann");
  EXPECT_EQ(fake.LastConnectPassword(), "secret");
}

TEST_F(WmiClientTest, GetClassesAppendsInEnumerationOrder) {
  util::StringList classes{"Existing"};
  ASSERT_TRUE(client.GetClasses(classes));
  EXPECT_EQ(classes,
            (util::StringList{"Existing", "Win32_Process", "Win32_Service", "Win32_Printer"}));
  EXPECT_TRUE(client.LastError.empty());
}

TEST_F(WmiClientTest, PartialClassListThenFailureKeepsEntries) {
  fake.AddEnumerationFault({"SubclassesOf", "", 2, true,
                            WmiError(testing::fake_status::kGenericFailure, "Generic failure")});
  util::StringList classes;
  EXPECT_FALSE(client.GetClasses(classes));
  EXPECT_EQ(classes, (util::StringList{"Win32_Process", "Win32_Service"}));
  EXPECT_EQ(client.LastError, "Generic failure");
}

TEST_F(WmiClientTest, WrongNamespaceAndLaterSuccessClearsLastError) {
  client.SetNamespace("root\\nosuch");
  util::StringList classes;
  EXPECT_FALSE(client.GetClasses(classes));
  EXPECT_EQ(client.LastError, "Invalid namespace");
  client.SetNamespace("root\\cimv2");
  EXPECT_TRUE(client.GetClasses(classes));
  EXPECT_EQ(client.LastError, "");
}

TEST_F(WmiClientTest, WrongPasswordFailsWithPlatformText) {
  fake.RequireCredentials("ann", "right");
  client.SetHost("localhost");
  client.User = "ann";
  client.Password = "wrong";
  util::StringList classes;
  EXPECT_FALSE(client.GetClasses(classes));
  EXPECT_EQ(client.LastError, "Access is denied");
}

TEST_F(WmiClientTest, HasInstances) {
  EXPECT_TRUE(client.HasInstances("Win32_Process"));
  EXPECT_FALSE(client.HasInstances("Win32_Printer"));
  EXPECT_EQ(client.LastError, "");
  EXPECT_FALSE(client.HasInstances("NoSuchClass"));
  EXPECT_EQ(client.LastError, "Invalid class");
  fake.FailCall("NewEnum", WmiError(testing::fake_status::kGenericFailure, "Generic failure"));
  EXPECT_THROW(client.HasInstances("Win32_Process"), WmiError);
}

TEST_F(WmiClientTest, CheckLocator) {
  EXPECT_TRUE(client.CheckLocator());
  fake.SetLocatorUnregistered(true);
  EXPECT_FALSE(client.CheckLocator());
  EXPECT_EQ(
      client.LastError,
      "Class \"ISWbemLocator\" is not registered on the system.\r\nError code: -2147221164\r\n"
      "Error message: Class not registered");
  util::StringList classes;
  EXPECT_FALSE(client.GetClasses(classes));
  EXPECT_EQ(client.LastError, "Class not registered");
}

TEST_F(WmiClientTest, UnreachableHost) {
  client.SetHost("nowhere");
  util::StringList classes;
  EXPECT_FALSE(client.GetClasses(classes));
  EXPECT_EQ(client.LastError, "The RPC server is unavailable");
  fake.AddHost("nowhere");
  EXPECT_TRUE(client.GetClasses(classes));
}

}  // namespace
}  // namespace brevane::wmi
