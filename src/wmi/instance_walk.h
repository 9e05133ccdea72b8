#pragma once
// The instance loader's worker: takes each request from the mailbox, walks the class's
// instances and queues a label for each in the outbox, until the request is replaced, the
// worker is stopped or the walk ends. Made and used on the worker thread only; it keeps the
// worker's connection and enumeration, which no other thread ever sees.
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "wmi/instance_outbox.h"
#include "wmi/instance_request_mailbox.h"
#include "wmi/regional_settings.h"
#include "wmi/wmi_api.h"
#include "wmi/wmi_error.h"

namespace brevane::wmi {

class InstanceWalk {
 public:
  InstanceWalk(Backend& backend, const RegionalSettings& regional, InstanceRequestMailbox& mailbox,
               InstanceOutbox& outbox, std::stop_token stop);
  InstanceWalk(const InstanceWalk&) = delete;
  InstanceWalk& operator=(const InstanceWalk&) = delete;

  // Until stop is requested. Raises only when the worker cannot go on at all.
  void Run();

 private:
  void RunPass(uint64_t passGeneration);
  // The next instance; false at the end, on a stop, or on a failure (into `failure`).
  bool NextInstance(std::unique_ptr<Object>& instance, std::optional<WmiError>& failure);
  bool Emit(InstanceHandoff handoff);
  void Fail(const std::string& text);
  bool SyncRequest();
  void StartLoad();
  std::string Label(Object& instance);
  void DropClassState();

  Backend& backend_;
  const RegionalSettings& regional_;
  InstanceRequestMailbox& mailbox_;
  InstanceOutbox& outbox_;
  const std::stop_token stop_;

  // The request being served; generation 0 before the first one.
  InstanceRequestMailbox::Request request_;
  std::unique_ptr<Services> services_;
  std::unique_ptr<ObjectSet> set_;
  std::unique_ptr<ObjectEnumerator> enumerator_;
  std::string labelProperty_;
  util::StringList propertyNames_;
  int count_ = 0;
};

}  // namespace brevane::wmi
