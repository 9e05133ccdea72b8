#include "app/connect_fields.h"

#include "util/text.h"

namespace brevane {

ConnectFields TakeConnectFields(const ConnectFields& typed) {
  return {Trim(typed.host), Trim(typed.nameSpace), typed.user, typed.password};
}

}  // namespace brevane
