#pragma once
// What the connect command takes over from the connect dialog.
#include <string>

#include "util/secret.h"

namespace brevane::app {

// Every copy wipes its password when it goes.
struct ConnectFields {
  std::string host;
  std::string nameSpace;
  std::string user;
  std::string password;
  ~ConnectFields() { util::WipeSecret(password); }
};

// Host and namespace lose blanks and control characters at both ends (the client turns an
// empty host into "." and an empty namespace into "root\cimv2"); user name and password are
// taken exactly as typed, since a blank may be part of a password.
ConnectFields TakeConnectFields(const ConnectFields& typed);

}  // namespace brevane::app
