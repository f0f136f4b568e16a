#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "engine/BatchConversion.h"
#include "support/ScriptedRunObserver.h"
#include "support/SessionSupport.h"
#include "support/TestSupport.h"

namespace tolvane::test {

// Whole runs over a source in a temporary folder, with the shipped reading data, on a chosen
// number of threads and chunk size: for tests that compare how one text comes out when it is
// cut and shared out differently.
class ChunkedRunFixture : public testing::Test {
 protected:
  Session session;
  CurrentReadings reader{session};

  void SetUp() override {
    LinkShippedReadingData(program_.path());
    StartSession(session, program_.path());
  }

  // The target's bytes of a run that ends `expected`. A failed run leaves a file target as it
  // was, so it writes to a stream, which keeps the lines written before the failure.
  std::string Run(const std::string& source, ConversionSettings settings, unsigned jobs,
                  std::size_t chunkBytes, RunStatus expected = RunStatus::Completed) {
    WriteBytes(dir_ / "a.txt", source);
    BatchRequest request;
    request.source = dir_ / "a.txt";
    request.target = dir_ / "out.txt";
    request.settings = settings;
    request.programFolder = program_.path();
    request.data = session.Data();
    request.jobs = jobs;
    request.chunkBytes = chunkBytes;
    std::ostringstream stream;
    if (expected == RunStatus::Failed) request.targetStream = &stream;
    ScriptedObserver host;
    EXPECT_EQ(BatchConversion(request, host).status, expected);
    steps = host.steps;
    lineCount = host.lineCount;
    return request.targetStream != nullptr ? stream.str() : ReadBytes(request.target);
  }

  TempDir dir_;
  TempDir program_;
  // The progress of the last run: its steps and its last range.
  std::size_t steps = 0;
  std::size_t lineCount = 0;
};

}  // namespace tolvane::test
