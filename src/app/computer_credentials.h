#pragma once
// The user name and password last used on each computer, for this run of the program only:
// a trip to another computer and back (following an object, back, forward) logs on to each
// with its own, and never hands one computer's password to another. Nothing here is written
// anywhere; every password is wiped when it is dropped.
#include <map>
#include <string>
#include <utility>

#include "util/secret.h"

namespace brevane::app {

struct Credentials {
  std::string user;
  std::string password;
  Credentials() = default;
  Credentials(std::string userName, std::string secret)
      : user(std::move(userName)), password(std::move(secret)) {}
  Credentials(const Credentials&) = default;
  Credentials& operator=(const Credentials& other) {
    if (this != &other) {
      user = other.user;
      util::WipeSecret(password);  // before a longer one may move it elsewhere
      password = other.password;
    }
    return *this;
  }
  ~Credentials() { util::WipeSecret(password); }
};

class ComputerCredentials {
 public:
  // The user name and password just used on host ("srv", "\\srv" and "SRV" are one computer);
  // both empty: host has none any more.
  void Remember(const std::string& host, const std::string& user, const std::string& password);
  // What host was last used with; empty for a computer never logged on to with any.
  Credentials For(const std::string& host) const;

 private:
  std::map<std::string, Credentials> byHost_;  // key: wmi::HostKey
};

}  // namespace brevane::app
