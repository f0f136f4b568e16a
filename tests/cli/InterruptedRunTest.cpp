#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestSupport.h"

extern char** environ;

namespace tolvane {
namespace {

namespace fs = std::filesystem;

using test::Gb;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const std::string kOld = "the old target\r\nas it was\r\n";

// Lines of code page 936 text, `bytes` long, different for each `seed`.
std::string Text(std::size_t bytes, int seed) {
  const std::string pieces[] = {Gb("我爱北京天安门，"), Gb("中国人民很好。"), Gb("今天天气不错。"),
                                "abc 123 "};
  std::string text;
  for (std::size_t line = 0; text.size() < bytes; ++line)
    text += pieces[(line + seed) % 4] + pieces[(line * 3 + seed) % 4] + "\r\n";
  return text;
}

// More than the CLI reads of its input before it chooses the encoding and starts writing.
const std::string kFirstPart = Text(5u << 20, 0);
const std::string kLastPart = Text(1u << 20, 1);

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

// tolvane-cli convert, fed through a pipe that the test holds: the run reads what the test has
// written and waits for more, so it can be stopped midway without a race against its end.
class CliRun {
 public:
  explicit CliRun(std::vector<std::string> args) {
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const std::string program = (test::BuildProgramFolder() / "tolvane-cli").string();
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
      throw std::runtime_error("cannot start " + program);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[0]);
    in_ = fds[1];
  }
  ~CliRun() {
    Close();
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      Wait();
    }
  }

  void Feed(const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
      const ssize_t written = ::write(in_, bytes.data() + done, bytes.size() - done);
      if (written <= 0) return;  // the run is gone
      done += static_cast<std::size_t>(written);
    }
  }
  void Close() {
    if (in_ >= 0) ::close(in_);
    in_ = -1;
  }
  // The wait status.
  int Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }
  void Signal(int signal) { ::kill(pid_, signal); }

 private:
  pid_t pid_ = -1;
  int in_ = -1;
};

// Waits until `folder` holds something it did not hold before, or the target changes: the run is
// then writing. Gives up after a generous while so that a broken run fails instead of hanging.
void AwaitWriting(const fs::path& folder, const std::set<std::string>& before,
                  const fs::path& target) {
  for (int i = 0; i < 3000; ++i) {
    if (Names(folder) != before || ReadBytes(target) != kOld) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ADD_FAILURE() << "the run never started writing";
}

class InterruptedRun : public testing::Test {
 protected:
  void SetUp() override {
    previousPipeHandler_ = std::signal(SIGPIPE, SIG_IGN);
    std::filesystem::copy_file(test::SourceDataFolder() / "define_py_tone.dll",
                               data_ / "define_py_tone.dll");
    WriteBytes(work_ / "out.txt", kOld);
  }
  void TearDown() override { std::signal(SIGPIPE, previousPipeHandler_); }

  std::vector<std::string> Convert(const std::string& source, const fs::path& target, bool wrap) {
    std::vector<std::string> args = {"convert", "-q",           "--data-dir", data_.path().string(),
                                     source,    target.string()};
    if (wrap) args.insert(args.end(), {"--wrap", "10"});
    return args;
  }

  // What a run alone writes for `text`.
  std::string ConvertedAlone(const std::string& text, bool wrap) {
    TempDir dir;
    TempDir data;
    std::filesystem::copy_file(test::SourceDataFolder() / "define_py_tone.dll",
                               data / "define_py_tone.dll");
    std::vector<std::string> args = {
        "convert", "-q", "--data-dir", data.path().string(), "-", (dir / "out.txt").string()};
    if (wrap) args.insert(args.end(), {"--wrap", "10"});
    CliRun run(args);
    run.Feed(text);
    run.Close();
    EXPECT_EQ(run.Wait(), 0);
    return ReadBytes(dir / "out.txt");
  }

  TempDir work_;
  TempDir data_;
  void (*previousPipeHandler_)(int) = nullptr;
};

TEST_F(InterruptedRun, ATerminatingSignalLeavesTheOldTargetAndNoScratchFile) {
  const struct {
    const char* name;
    int signal;
    bool wrap;  // stopped while it re-cuts its source, else while it writes the target
  } cases[] = {
      {"SIGTERM while writing", SIGTERM, false},
      {"SIGINT while writing", SIGINT, false},
      {"SIGHUP while writing", SIGHUP, false},
      {"SIGTERM while re-cutting", SIGTERM, true},
  };
  for (const auto& c : cases) {
    WriteBytes(work_ / "out.txt", kOld);
    const auto workBefore = Names(work_.path());
    const auto dataBefore = Names(data_.path());
    CliRun run(Convert("-", work_ / "out.txt", c.wrap));
    run.Feed(kFirstPart);
    AwaitWriting(c.wrap ? data_.path() : work_.path(), c.wrap ? dataBefore : workBefore,
                 work_ / "out.txt");
    run.Signal(c.signal);
    const int status = run.Wait();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal)
        << c.name << ": the run dies of the signal";
    EXPECT_TRUE(ReadBytes(work_ / "out.txt") == kOld) << c.name << ": the old target is gone";
    EXPECT_EQ(Names(work_.path()), workBefore) << c.name;
    EXPECT_EQ(Names(data_.path()), dataBefore) << c.name;
  }
}

TEST_F(InterruptedRun, AfterSigkillTheOldTargetStaysAndTheNextRunTidiesTheScratchFile) {
  const auto before = Names(work_.path());
  {
    CliRun run(Convert("-", work_ / "out.txt", false));
    run.Feed(kFirstPart);
    AwaitWriting(work_.path(), before, work_ / "out.txt");
    run.Signal(SIGKILL);
    run.Wait();
  }
  EXPECT_TRUE(ReadBytes(work_ / "out.txt") == kOld) << "the old target is gone";
  EXPECT_EQ(Names(work_.path()).size(), before.size() + 1) << "the killed run's scratch file";

  WriteBytes(work_ / "a.txt", Gb("我\r\n"));
  CliRun next(Convert((work_ / "a.txt").string(), work_ / "out.txt", false));
  next.Close();
  EXPECT_EQ(next.Wait(), 0);
  EXPECT_EQ(ReadBytes(work_ / "out.txt"), Gb("wǒ\r\n我\r\n"));
  EXPECT_EQ(Names(work_.path()), (std::set<std::string>{"a.txt", "out.txt"}));
}

TEST_F(InterruptedRun, TwoRunsAtOnceWithOneTempTxtOrOneTargetEachWriteWholeResults) {
  const struct {
    const char* name;
    bool wrap;
    bool sameTarget;
  } cases[] = {
      {"both re-cut through one temp.txt", true, false},
      {"both write one target", false, true},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const fs::path firstTarget = dir / "first.txt";
    const fs::path secondTarget = c.sameTarget ? firstTarget : dir / "second.txt";
    const std::string second = Text(2u << 20, 2);
    const std::string expectedFirst = ConvertedAlone(kFirstPart + kLastPart, c.wrap);
    const std::string expectedSecond = ConvertedAlone(second, c.wrap);
    WriteBytes(dir / "second_source.txt", second);
    WriteBytes(firstTarget, kOld);
    const auto dirBefore = Names(dir.path());
    const auto dataBefore = Names(data_.path());

    // The second run comes and goes while the first is midway.
    CliRun first(Convert("-", firstTarget, c.wrap));
    first.Feed(kFirstPart);
    AwaitWriting(c.wrap ? data_.path() : dir.path(), c.wrap ? dataBefore : dirBefore, firstTarget);
    CliRun other(Convert((dir / "second_source.txt").string(), secondTarget, c.wrap));
    other.Close();
    EXPECT_EQ(other.Wait(), 0) << c.name;
    EXPECT_TRUE(ReadBytes(secondTarget) == expectedSecond) << c.name;
    first.Feed(kLastPart);
    first.Close();
    EXPECT_EQ(first.Wait(), 0) << c.name;
    EXPECT_TRUE(ReadBytes(firstTarget) == expectedFirst) << c.name;
    if (!c.sameTarget) {
      EXPECT_TRUE(ReadBytes(secondTarget) == expectedSecond) << c.name;
    }
    for (const auto& name : Names(dir.path()))
      EXPECT_EQ(name.find(".tolvane-"), std::string::npos) << c.name << ": " << name;
    for (const auto& name : Names(data_.path()))
      EXPECT_EQ(name.find(".tolvane-"), std::string::npos) << c.name << ": " << name;
  }
}

}  // namespace
}  // namespace tolvane
