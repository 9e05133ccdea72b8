#pragma once
// ItemStream: the items a request produces one by one (query objects, class names), handed to
// the UI thread in batches. At most one drain step waits in the dispatcher at any time, and it
// takes everything gathered until it runs: while the UI thread keeps up, every item goes out
// at once; while it is busy, items gather into bigger batches. The worker waits only when the
// UI thread falls far behind (and stops waiting when the request is stopped).
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "wmi/request_worker.h"

namespace brevane::wmi {

template <class Item>
class ItemStream {
 public:
  using Deliver = std::function<void(std::vector<Item>&&)>;

  // deliver runs on the UI thread, with the items in the order they were pushed.
  ItemStream(RequestContext& context, Deliver deliver, size_t maxPending = 16384)
      : context_(context),
        box_(std::make_shared<Box>()),
        deliver_(std::make_shared<Deliver>(std::move(deliver))),
        maxPending_(maxPending) {}

  // Worker thread. False when the request was stopped.
  bool Push(Item item) {
    const std::stop_token stop = context_.Stop();
    bool post = false;
    {
      std::unique_lock l(box_->lock);
      box_->drained.wait(l, stop, [&] { return box_->items.size() < maxPending_; });
      if (stop.stop_requested()) return false;
      box_->items.push_back(std::move(item));
      if (!box_->drainPosted) box_->drainPosted = post = true;
    }
    if (!post) return true;
    // A step the dispatcher could not announce at once still runs with the next one; a
    // dispatcher that is gone comes with a stop request, which ends the stream above.
    context_.Post([box = box_, deliver = deliver_] {
      std::vector<Item> taken;
      {
        std::lock_guard l(box->lock);
        taken.swap(box->items);
        box->drainPosted = false;
      }
      box->drained.notify_all();
      (*deliver)(std::move(taken));
    });
    return true;
  }

 private:
  struct Box {
    std::mutex lock;
    std::condition_variable_any drained;
    std::vector<Item> items;
    bool drainPosted = false;
  };

  RequestContext& context_;
  std::shared_ptr<Box> box_;
  std::shared_ptr<Deliver> deliver_;
  size_t maxPending_;
};

}  // namespace brevane::wmi
