#pragma once

#include <gtest/gtest.h>

#include "support/SessionSupport.h"
#include "support/TestSupport.h"

namespace tolvane::test {

// A session started on the reading data the build ships, linked into a folder of the test's own
// (so that a test may add or remove files there), with the readings of its current data.
class ShippedDataFixture : public testing::Test {
 protected:
  void SetUp() override {
    LinkShippedReadingData(folder_.path());
    StartSession(session, folder_.path());
  }

  TempDir folder_;
  Session session;
  CurrentReadings reader{session};
};

}  // namespace tolvane::test
