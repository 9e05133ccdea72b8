#pragma once
// InstanceLoader: lists the instances of the chosen class without freezing the window. One
// long-lived worker with its own WMI apartment and connection does the walk; the parts, each
// with one owner:
//   InstanceRequestMailbox  requests, UI thread -> worker (any thread, under its lock)
//   InstanceWalk            the worker's walk (worker thread only)
//   InstanceOutbox          hand-offs, worker -> UI thread, with back-pressure (any thread)
//   InstanceListWriter      the UI side that fills the InstanceList (UI thread only)
// The loader itself belongs to the UI thread, which makes every call below.
#include <chrono>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>

#include "framework/main_thread.h"
#include "framework/ui_thread_only.h"
#include "wmi/instance_list.h"
#include "wmi/instance_list_writer.h"
#include "wmi/instance_outbox.h"
#include "wmi/instance_request_mailbox.h"
#include "wmi/regional_settings.h"
#include "wmi/wmi_api.h"

namespace brevane::wmi {

class InstanceLoader {
 public:
  using DoneCallback = InstanceListWriter::DoneCallback;

  // Starts the worker at once; it idles until the first request. The worker shares ownership
  // of the backend and the dispatcher, so that a worker left behind by a bounded shutdown
  // never uses freed objects.
  InstanceLoader(std::shared_ptr<Backend> backend,
                 std::shared_ptr<framework::MainThreadDispatcher> dispatcher,
                 RegionalSettings regional, OutboxLimits limits = {});
  // Shuts down with a bounded wait (see Shutdown).
  ~InstanceLoader();
  InstanceLoader(const InstanceLoader&) = delete;
  InstanceLoader& operator=(const InstanceLoader&) = delete;

  // Both are set before the first request.
  void SetOnDone(DoneCallback onDone);
  void SetMaxInstances(int maxInstances);  // 0: no limit; a load stops after label max + 1

  // Return at once. Both empty the target list.
  void RequestInstances(const std::string& host, const std::string& ns, const std::string& user,
                        const std::string& password, const std::string& className,
                        InstanceList* target);
  void RefreshInstances();
  // The window emptied the panes (a refresh of the class list, another computer): the load in
  // progress stops at once, and nothing of it reaches the list or the done callback any more.
  // The worker keeps its connection for the next request.
  void StopLoading();
  void RequestStop();
  // The relative path of the instance on this line of the target list; empty when it has none
  // (a keyless class, a progress or failure line) or the list was changed by someone else.
  std::string PathOf(int line) const;

  // Detaches the list and the callback and tells the worker to stop; returns at once.
  void BeginShutdown();
  // Waits until `deadline` for the worker told to stop. A worker stuck in a slow WMI call is
  // left to finish on its own; it can no longer reach the window. True when it has ended.
  bool FinishShutdown(std::chrono::steady_clock::time_point deadline);
  bool Shutdown(std::chrono::milliseconds bound);

 private:
  struct WorkerEnd;
  struct WorkerShare;
  static void WorkerMain(WorkerShare share);
  // A request to a worker that has ended (or never started) is answered with the reason.
  void AnswerIfWorkerGone();

  std::stop_source stop_;
  const std::shared_ptr<InstanceRequestMailbox> mailbox_;
  // Shared with the outbox's drain steps, which reach it only while it exists.
  const std::shared_ptr<framework::UiThreadOnly<InstanceListWriter>> writer_;
  const std::shared_ptr<InstanceOutbox> outbox_;
  const std::shared_ptr<WorkerEnd> end_;
  std::thread worker_;
};

}  // namespace brevane::wmi
