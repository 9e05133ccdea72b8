#include "wmi/wmi_client.h"

#include <gtest/gtest.h>

#include "support/fake_wmi.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi {
namespace {

using testing::FakeWmi;

class WmiClientTest : public ::testing::Test {
 protected:
  FakeWmi fake;
  WmiClient client{fake, RegionalSettings{}};
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

TEST_F(WmiClientTest, CheckLocator) {
  EXPECT_TRUE(client.CheckLocator());
  fake.SetLocatorUnregistered(true);
  EXPECT_FALSE(client.CheckLocator());
  EXPECT_EQ(
      client.LastError,
      "Class \"ISWbemLocator\" is not registered on the system.\r\nError code: -2147221164\r\n"
      "Error message: Class not registered");
}

}  // namespace
}  // namespace brevane::wmi
