#include "app/connect_host.h"

namespace brevane {

std::string HostForConnection(const std::string& host) {
  return host == kThisComputerEntry ? std::string(".") : host;
}

}  // namespace brevane
