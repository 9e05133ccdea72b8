#include "app/connect_fields.h"

#include "util/text.h"

namespace brevane::app {

ConnectFields TakeConnectFields(const ConnectFields& typed) {
  return {util::Trim(typed.host), util::Trim(typed.nameSpace), typed.user, typed.password};
}

}  // namespace brevane::app
