#pragma once
// TWMIInstancesThread: one long-lived worker that lists the instances of the chosen class
// without freezing the window. It owns its own WMI apartment and connection. What it has for
// the window (labels, the end of a load) goes into an outbox that the UI thread drains through
// the dispatcher, in order, each entry tagged with the request it belongs to; the worker waits
// only when the UI thread falls behind.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "framework/main_thread.h"
#include "wmi/instance_list.h"
#include "wmi/regional_settings.h"
#include "wmi/wmi_api.h"

namespace brevane::wmi {

inline constexpr const char* kProgressLine = "Requesting WMI...";

class TWMIInstancesThread {
 public:
  using DoneCallback = std::function<void(int count, const std::string& message)>;

  // Starts the worker at once; it idles until the first request.
  // The worker shares ownership of the backend and the dispatcher, so that a worker left
  // behind by a bounded shutdown never uses freed objects.
  TWMIInstancesThread(std::shared_ptr<Backend> backend,
                      std::shared_ptr<framework::MainThreadDispatcher> dispatcher,
                      RegionalSettings regional);
  // Shuts down with a bounded wait (see Shutdown).
  ~TWMIInstancesThread();
  TWMIInstancesThread(const TWMIInstancesThread&) = delete;
  TWMIInstancesThread& operator=(const TWMIInstancesThread&) = delete;

  // UI thread. Both are set before the first request.
  void SetOnDone(DoneCallback onDone);
  void SetMaxInstances(int maxInstances);  // 0: no limit; a load stops after label max + 1

  // UI thread; return at once. Both empty the target list.
  void RequestInstances(const std::string& host, const std::string& ns, const std::string& user,
                        const std::string& password, const std::string& className,
                        InstanceList* target);
  void RefreshInstances();
  void RequestStop();
  // UI thread: the relative path of the instance on this line of the target list; empty when
  // it has none (a keyless class, a progress or failure line) or the list was changed by
  // someone else.
  std::string PathOf(int line) const;

  // UI thread: detaches the list and the callback, stops the worker and waits for it at most
  // `bound`. A worker stuck in a slow WMI call is left to finish on its own; it can no longer
  // reach the window. Returns true when the worker has ended.
  bool Shutdown(std::chrono::milliseconds bound);

  struct Shared;  // state shared by the UI thread and the worker

 private:
  void ResetTarget();
  // A request to a worker that has ended (or never started) is answered with the reason.
  void AnswerIfWorkerGone();

  std::shared_ptr<Shared> shared_;
  std::thread worker_;
};

}  // namespace brevane::wmi
