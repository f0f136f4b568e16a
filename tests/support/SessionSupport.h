#pragma once

#include <memory>

#include "reading/LineReadings.h"
#include "reading/Session.h"

namespace tolvane::test {

// The readings of a session's current data, for tests that annotate lines: made again whenever
// the session has published new data since the last call, as a new run or preview would.
class CurrentReadings {
 public:
  explicit CurrentReadings(const Session& session) : session_(session) {}

  LineReadings& operator()() {
    std::shared_ptr<const ReadingData> data = session_.Data();
    if (!readings_ || &readings_->Data() != data.get())
      readings_ = std::make_unique<LineReadings>(std::move(data));
    return *readings_;
  }

 private:
  const Session& session_;
  std::unique_ptr<LineReadings> readings_;
};

}  // namespace tolvane::test
