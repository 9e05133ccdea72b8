#include "app/connect_fields.h"

#include <utility>

#include "util/text.h"

namespace brevane {

ConnectFields TakeConnectFields(ConnectFields typed) {
  typed.host = Trim(typed.host);
  typed.nameSpace = Trim(typed.nameSpace);
  return typed;
}

}  // namespace brevane
