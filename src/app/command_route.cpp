#include "app/command_route.h"

namespace brevane::app {

int RouteToView(int active, int count, const std::function<bool(int)>& handles) {
  if (active >= 0 && active < count && handles(active)) return active;
  for (int i = 0; i < count; ++i) {
    if (handles(i)) return i;
  }
  return -1;
}

}  // namespace brevane::app
