#include "app/connect_host.h"

#include <gtest/gtest.h>

#include <string>

namespace brevane::app {
namespace {

TEST(ConnectHost, ThePresetEntryMeansThisComputer) {
  EXPECT_EQ(HostForConnection("\xE6\x9C\xAC\xE6\x9C\xBA"), ".");
  for (const std::string host : {".", "", "localhost", "server01", "\xE6\x9C\xAC\xE6\x9C\xBA.corp",
                                 " \xE6\x9C\xAC\xE6\x9C\xBA"}) {
    EXPECT_EQ(HostForConnection(host), host);
  }
}

}  // namespace
}  // namespace brevane::app
