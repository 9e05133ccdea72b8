// The rules the workers follow for connections and hosts.
#include <gtest/gtest.h>

#include "wmi/connection_loss.h"
#include "wmi/request_worker.h"

namespace brevane::wmi {
namespace {

TEST(ConnectionLossTest, GoneCodesAlwaysAndOtherFailuresOfAWorkingConnection) {
  struct Case {
    uint32_t status;
    bool fresh;   // lost on a connection that has served nothing yet
    bool worked;  // lost on one that has served a request before
  };
  const Case cases[] = {
      {0x80010108u, true, true},    // RPC_E_DISCONNECTED
      {0x800706BAu, true, true},    // RPC server unavailable
      {0x800706BEu, true, true},    // remote call failed
      {0x80041015u, true, true},    // WBEM_E_TRANSPORT_FAILURE
      {0x80041001u, false, true},   // generic failure
      {0x00000000u, false, true},   // unknown
      {0x80041002u, false, false},  // not found: an answer about the request
      {0x80041010u, false, false},  // invalid class
      {0x80041017u, false, false},  // invalid query
      {0x80070005u, false, false},  // access denied
      {0x80041024u, false, false},  // provider not capable
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ConnectionLost(static_cast<int32_t>(c.status), false), c.fresh)
        << std::hex << c.status;
    EXPECT_EQ(ConnectionLost(static_cast<int32_t>(c.status), true), c.worked)
        << std::hex << c.status;
  }
}

TEST(HostKeyTest, OneComputerHoweverItIsSpelt) {
  const std::pair<const char*, const char*> cases[] = {
      {"srv", "srv"},
      {"\\\\srv", "srv"},
      {"SRV", "srv"},
      {" //Srv ", "srv"},
      {"", "."},
      {".", "."},
      {"LocalHost", "."},
      {"\\\\localhost", "."},
      {"srv.corp", "srv.corp"},
      {"\\\\", "."},
  };
  for (const auto& [host, key] : cases) EXPECT_EQ(HostKey(host), key) << host;
}

}  // namespace
}  // namespace brevane::wmi
