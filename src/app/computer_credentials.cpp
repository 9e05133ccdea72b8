#include "app/computer_credentials.h"

#include "wmi/request_worker.h"

namespace brevane::app {

void ComputerCredentials::Remember(const std::string& host, const std::string& user,
                                   const std::string& password) {
  const std::string key = wmi::HostKey(host);
  if (user.empty() && password.empty()) {
    byHost_.erase(key);  // the entry's destructor wipes its password
    return;
  }
  Credentials& kept = byHost_[key];
  kept.user = user;
  util::WipeSecret(kept.password);
  kept.password = password;
}

Credentials ComputerCredentials::For(const std::string& host) const {
  const auto found = byHost_.find(wmi::HostKey(host));
  return found == byHost_.end() ? Credentials() : found->second;
}

}  // namespace brevane::app
