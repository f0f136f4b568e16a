#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "reading/LineReadings.h"

namespace tolvane {

// Lends the tasks of a run, on whichever threads they run, a LineReadings of the run's snapshot
// each. One is made only when none is free, so a run on N threads makes at most N and their
// caches stay warm from chunk to chunk.
class LineReadingsPool {
 public:
  explicit LineReadingsPool(std::shared_ptr<const ReadingData> data) : data_(std::move(data)) {}

  // A LineReadings for as long as the lease lives; given back when it ends.
  class Lease {
   public:
    Lease(LineReadingsPool& pool, std::unique_ptr<LineReadings> readings)
        : pool_(pool), readings_(std::move(readings)) {}
    ~Lease() { pool_.GiveBack(std::move(readings_)); }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    LineReadings& operator*() const { return *readings_; }

   private:
    LineReadingsPool& pool_;
    std::unique_ptr<LineReadings> readings_;
  };

  Lease Borrow() {
    std::unique_ptr<LineReadings> readings;
    {
      std::lock_guard lock(mutex_);
      if (!free_.empty()) {
        readings = std::move(free_.back());
        free_.pop_back();
      }
    }
    if (!readings) readings = std::make_unique<LineReadings>(data_);
    return Lease(*this, std::move(readings));
  }

 private:
  void GiveBack(std::unique_ptr<LineReadings> readings) {
    std::lock_guard lock(mutex_);
    free_.push_back(std::move(readings));
  }

  std::shared_ptr<const ReadingData> data_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<LineReadings>> free_;
};

}  // namespace tolvane
