// A run reads the snapshot of the loaded data it started with: an editor that saves and reloads
// while a run is in progress changes the next run, not this one.
#include <gtest/gtest.h>

#include <functional>

#include "engine/BatchConversion.h"
#include "reading/Session.h"
#include "support/ScriptedRunObserver.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using test::Gb;

// Runs a hook at the first step of the bar: the run is then under way, with lines still to come.
class ObserverReloadingMidway : public test::ScriptedObserver {
 public:
  std::function<void()> atFirstStep;
  void ProgressStepped() override {
    ScriptedObserver::ProgressStepped();
    if (steps == 1 && atFirstStep) atFirstStep();
  }
};

TEST(ReloadDuringRun, TheRunFinishesWithTheDataItStartedWithAndTheNextSeesTheNew) {
  test::TempDir folder;
  std::filesystem::copy_file(test::SourceDataFolder() / kToneVowelFile, folder / kToneVowelFile);
  const auto writeUser = [&](const char* reading) {
    test::WriteBytes(folder / kStandardKeysFile, Gb("行\r\n"));
    test::WriteBytes(folder / kStandardReadingsFile, std::string(reading) + "\r\n");
  };
  writeUser("OLD");
  Session session;
  StartSession(session, folder.path());

  std::string source;
  for (int i = 0; i < 400; ++i) source += Gb("行\r\n");
  test::WriteBytes(folder / "a.txt", source);
  for (const unsigned jobs : {1u, 3u}) {
    SCOPED_TRACE(jobs);
    BatchRequest request;
    request.source = folder / "a.txt";
    request.target = folder / "out.txt";
    request.settings.outputFormat = OutputFormat::rb_output_hanpy;
    request.programFolder = folder.path();
    request.jobs = jobs;
    request.chunkBytes = 16;  // many chunks, most of them annotated after the reload
    request.data = session.Data();
    ObserverReloadingMidway host;
    host.atFirstStep = [&] {
      writeUser("NEW");
      session.ReloadDataFiles();
    };
    ASSERT_EQ(BatchConversion(request, host).status, RunStatus::Completed);
    std::string expected;
    for (int i = 0; i < 400; ++i) expected += Gb("行(OLD)\r\n");
    EXPECT_EQ(test::ReadBytes(request.target), expected);

    request.data = session.Data();
    test::ScriptedObserver next;
    ASSERT_EQ(BatchConversion(request, next).status, RunStatus::Completed);
    EXPECT_EQ(test::ReadBytes(request.target).substr(0, Gb("行(NEW)\r\n").size()),
              Gb("行(NEW)\r\n"));
    writeUser("OLD");
    session.ReloadDataFiles();
  }
}

}  // namespace
}  // namespace tolvane
