#include "app/connect_host.h"

namespace brevane::app {

std::string HostForConnection(const std::string& host) {
  return host == kThisComputerEntry ? std::string(".") : host;
}

}  // namespace brevane::app
