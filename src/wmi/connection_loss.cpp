#include "wmi/connection_loss.h"

#include <algorithm>
#include <iterator>

namespace brevane::wmi {

namespace {

constexpr uint32_t kGone[] = {
    0x80010007u,  // RPC_E_SERVER_DIED
    0x80010012u,  // RPC_E_SERVER_DIED_DNE
    0x80010108u,  // RPC_E_DISCONNECTED
    0x800401FDu,  // CO_E_OBJNOTCONNECTED
    0x800706BAu,  // RPC_S_SERVER_UNAVAILABLE
    0x800706BEu,  // RPC_S_CALL_FAILED
    0x800706BFu,  // RPC_S_CALL_FAILED_DNE
    0x80070776u,  // OR_INVALID_OXID: the server's objects are gone (it restarted)
    0x80041015u,  // WBEM_E_TRANSPORT_FAILURE
    0x80041033u,  // WBEM_E_SHUTTING_DOWN
};

constexpr uint32_t kAnswers[] = {
    0x80041002u,  // WBEM_E_NOT_FOUND
    0x80041003u,  // WBEM_E_ACCESS_DENIED
    0x80041004u,  // WBEM_E_PROVIDER_FAILURE
    0x80041008u,  // WBEM_E_INVALID_PARAMETER
    0x8004100Cu,  // WBEM_E_NOT_SUPPORTED
    0x80041010u,  // WBEM_E_INVALID_CLASS
    0x80041013u,  // WBEM_E_PROVIDER_LOAD_FAILURE
    0x80041017u,  // WBEM_E_INVALID_QUERY
    0x80041018u,  // WBEM_E_INVALID_QUERY_TYPE
    0x80041024u,  // WBEM_E_PROVIDER_NOT_CAPABLE
    0x8004103Au,  // WBEM_E_INVALID_OBJECT_PATH
    0x80070005u,  // E_ACCESSDENIED
};

template <size_t N>
bool In(const uint32_t (&codes)[N], uint32_t code) {
  return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
}

}  // namespace

bool ConnectionLost(int32_t status, bool workedBefore) {
  const auto code = static_cast<uint32_t>(status);
  if (In(kGone, code)) return true;
  return workedBefore && !In(kAnswers, code);
}

}  // namespace brevane::wmi
