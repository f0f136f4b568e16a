#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>

#include "engine/WorkerPool.h"

namespace tolvane {

// Items produced one after another on the calling thread, worked on by several threads at once in
// any order, and handed back on the calling thread in the order they were produced: a file read
// in chunks, annotated on every core and written in order.
//
// At most `threads + 1` items are in flight: one waiting beside each one at work keeps every
// thread busy while memory stays bounded whatever the number of items. With one thread (or none)
// the calling thread works each item as it is produced.
template <typename Item>
class OrderedPipeline {
 public:
  explicit OrderedPipeline(unsigned threads) : threads_(std::max(1u, threads)) {}
  OrderedPipeline(const OrderedPipeline&) = delete;
  OrderedPipeline& operator=(const OrderedPipeline&) = delete;

  // produce(Item&) -> bool fills a fresh item; false when there are no more.
  // work(Item&) runs on a worker; an exception it raises is raised again from Run when the
  // item's turn comes, after the items before it were consumed.
  // consume(Item&) -> bool takes the items in order; false stops the pipeline (no more is produced
  // or consumed).
  // An exception from produce or consume ends Run too. Run returns, or raises, only once no
  // worker holds an item any more.
  template <typename Produce, typename Work, typename Consume>
  void Run(Produce&& produce, Work&& work, Consume&& consume);

 private:
  struct Slot {
    Item item;
    std::exception_ptr error;
    bool done = false;
  };

  // Produces items and hands them to the workers until enough are in flight or there are no more.
  template <typename Produce, typename Work>
  void Fill(Produce& produce, Work& work, WorkerPool& pool);
  // On a worker.
  template <typename Work>
  void WorkOn(Slot& slot, Work& work);
  template <typename Ready>
  void WaitUntil(const Ready& ready);
  // Waits until no worker holds an item, and forgets them all.
  void Drain();

  unsigned threads_;
  std::mutex mutex_;
  std::condition_variable finished_;
  std::deque<std::shared_ptr<Slot>> inFlight_;
  bool more_ = true;
};

template <typename Item>
template <typename Produce, typename Work, typename Consume>
void OrderedPipeline<Item>::Run(Produce&& produce, Work&& work, Consume&& consume) {
  // Local to the run, so that its threads end before anything they signal through.
  WorkerPool pool(threads_ > 1 ? threads_ : 0);
  more_ = true;
  try {
    Fill(produce, work, pool);
    while (!inFlight_.empty()) {
      const std::shared_ptr<Slot> next = inFlight_.front();
      WaitUntil([&] { return next->done; });
      inFlight_.pop_front();
      // The workers get more to do before this item is consumed.
      Fill(produce, work, pool);
      if (next->error) std::rethrow_exception(next->error);
      if (!consume(next->item)) break;
    }
  } catch (...) {
    // Nothing more is produced or consumed; the workers finish what they hold first.
    Drain();
    throw;
  }
  Drain();
}

template <typename Item>
template <typename Produce, typename Work>
void OrderedPipeline<Item>::Fill(Produce& produce, Work& work, WorkerPool& pool) {
  while (more_ && inFlight_.size() < static_cast<std::size_t>(threads_) + 1) {
    auto slot = std::make_shared<Slot>();
    more_ = produce(slot->item);
    if (!more_) return;
    inFlight_.push_back(slot);
    pool.Run([this, slot, &work] { WorkOn(*slot, work); });
  }
}

template <typename Item>
template <typename Work>
void OrderedPipeline<Item>::WorkOn(Slot& slot, Work& work) {
  try {
    work(slot.item);
  } catch (...) {
    slot.error = std::current_exception();
  }
  {
    std::lock_guard lock(mutex_);
    slot.done = true;
  }
  finished_.notify_all();
}

template <typename Item>
template <typename Ready>
void OrderedPipeline<Item>::WaitUntil(const Ready& ready) {
  std::unique_lock lock(mutex_);
  finished_.wait(lock, ready);
}

template <typename Item>
void OrderedPipeline<Item>::Drain() {
  WaitUntil([this] {
    return std::all_of(inFlight_.begin(), inFlight_.end(),
                       [](const std::shared_ptr<Slot>& slot) { return slot->done; });
  });
  inFlight_.clear();
}

}  // namespace tolvane
