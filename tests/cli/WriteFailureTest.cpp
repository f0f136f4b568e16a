// The built tolvane-cli with its standard streams as a shell can leave them: output to a full
// disk, to a reader that went away, or to a closed stream; input from a closed stream; a folder
// as the target. Every command fails then, saying which stream or file and why.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/TestSupport.h"

extern char** environ;

namespace tolvane {
namespace {

using test::Gb;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// What the program's standard input or output is: a file, one of the test's descriptors, or
// closed.
struct Stream {
  std::optional<std::filesystem::path> file;
  int descriptor = -1;
  static Stream Closed() { return {}; }
  static Stream File(std::filesystem::path path) { return {std::move(path)}; }
  static Stream Descriptor(int descriptor) { return {std::nullopt, descriptor}; }
};

struct Outcome {
  int status = -1;
  std::string err;
};

class WriteFailureTest : public testing::Test {
 protected:
  // Runs the built program, through `sh -c` when `shellPrefix` says what to set up first.
  Outcome Run(const std::vector<std::string>& args, const Stream& in, const Stream& out,
              const std::string& shellPrefix = "") {
    std::vector<std::string> argv;
    if (!shellPrefix.empty()) argv = {"/bin/sh", "-c", shellPrefix + " exec \"$0\" \"$@\""};
    argv.push_back((test::BuildProgramFolder() / "tolvane-cli").string());
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& a : argv) pointers.push_back(a.data());
    pointers.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    AddStream(actions, STDIN_FILENO, in, O_RDONLY);
    AddStream(actions, STDOUT_FILENO, out, O_WRONLY | O_CREAT | O_TRUNC);
    const std::string errFile = (work_ / "stderr").string();
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, pointers[0], &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    Outcome outcome;
    if (spawned != 0) return outcome;
    int status = 0;
    waitpid(pid, &status, 0);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    outcome.err = ReadBytes(errFile);
    return outcome;
  }

  static void AddStream(posix_spawn_file_actions_t& actions, int descriptor, const Stream& stream,
                        int flags) {
    if (stream.file) {
      posix_spawn_file_actions_addopen(&actions, descriptor, stream.file->c_str(), flags, 0644);
    } else if (stream.descriptor >= 0) {
      posix_spawn_file_actions_adddup2(&actions, stream.descriptor, descriptor);
    } else {
      posix_spawn_file_actions_addclose(&actions, descriptor);
    }
  }

  void SetUp() override {
    WriteBytes(source_, Gb("我爱北京\r\n"));
    WriteBytes(work_ / "empty", "");
  }

  TempDir work_;
  const std::filesystem::path source_ = work_ / "a.txt";
  const Stream nothingIn_ = Stream::File("/dev/null");
};

// Every command that writes standard output, its help and its version included.
std::vector<std::vector<std::string>> CommandsThatWrite(const std::string& source) {
  return {
      {"table", "numbered"},
      {"table", "plain"},
      {"lookup", "我"},
      {"lookup", "--lines", source},
      {"preview", "我爱北京"},
      {"preview", "--format", "html", "我爱北京"},
      {"encoding", source},
      {"convert", source, "-"},
      {"convert", "--format", "html", source, "-"},
      {"--help"},
      {"convert", "--help"},
      {"--version"},
  };
}

std::string Joined(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& a : args) text += a + " ";
  return text;
}

TEST_F(WriteFailureTest, EveryCommandFailsOnAFullDiskNamingStandardOutput) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  for (const auto& args : CommandsThatWrite(source_.string())) {
    const Outcome outcome = Run(args, nothingIn_, Stream::File("/dev/full"));
    EXPECT_EQ(outcome.status, 1) << Joined(args) << outcome.err;
    EXPECT_EQ(outcome.err, "tolvane-cli: standard output: Disk full\n") << Joined(args);
  }
}

TEST_F(WriteFailureTest, EveryCommandFailsOnAClosedStandardOutput) {
  for (const auto& args : CommandsThatWrite(source_.string())) {
    const Outcome outcome = Run(args, nothingIn_, Stream::Closed());
    EXPECT_EQ(outcome.status, 1) << Joined(args) << outcome.err;
    EXPECT_EQ(outcome.err, "tolvane-cli: standard output: Bad file descriptor\n") << Joined(args);
  }
}

TEST_F(WriteFailureTest, AReaderThatWentAwayIsABrokenPipeWhenTheSignalIsIgnored) {
  // With SIGPIPE at its default the program ends by it, as pipes_test.sh shows; a caller that
  // ignores the signal gets the failure instead of a quiet success.
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  close(pipeEnds[0]);
  for (const auto& args : CommandsThatWrite(source_.string())) {
    const Outcome outcome = Run(args, nothingIn_, Stream::Descriptor(pipeEnds[1]), "trap '' PIPE;");
    EXPECT_EQ(outcome.status, 1) << Joined(args) << outcome.err;
    EXPECT_EQ(outcome.err, "tolvane-cli: standard output: Broken pipe\n") << Joined(args);
  }
  close(pipeEnds[1]);
}

TEST_F(WriteFailureTest, AClosedStandardInputIsNamedAsSuch) {
  const std::vector<std::string> commands[] = {
      {"convert", "-", (work_ / "out.txt").string()},
      {"convert", "--wrap", "10", "--data-dir", work_.path().string(), "-",
       (work_ / "out.txt").string()},
      {"convert", "-", "-"},
      {"lookup", "--lines", "-"},
  };
  for (const auto& args : commands) {
    const Outcome outcome = Run(args, Stream::Closed(), Stream::File(work_ / "stdout"));
    EXPECT_EQ(outcome.status, 1) << Joined(args) << outcome.err;
    EXPECT_EQ(outcome.err, "tolvane-cli: standard input: Bad file descriptor\n") << Joined(args);
  }
}

TEST_F(WriteFailureTest, AFolderAsTargetSaysSoAndNamesIt) {
  std::filesystem::create_directory(work_ / "folder");
  const std::string folder = (work_ / "folder").string();
  const std::vector<std::string> commands[] = {
      {"convert", source_.string(), folder},
      {"convert", "--format", "html", source_.string(), folder},
      {"convert", "-", folder},
  };
  for (const auto& args : commands) {
    const Outcome outcome = Run(args, Stream::File(source_), Stream::File(work_ / "stdout"));
    EXPECT_EQ(outcome.status, 1) << Joined(args) << outcome.err;
    EXPECT_EQ(outcome.err, "tolvane-cli: " + folder + ": Is a directory\n") << Joined(args);
  }
}

TEST_F(WriteFailureTest, OutputThatIsWrittenStillSucceeds) {
  // The checks above must not turn a good run into a failure.
  for (const auto& args : CommandsThatWrite(source_.string())) {
    const Outcome outcome = Run(args, nothingIn_, Stream::File(work_ / "stdout"));
    EXPECT_EQ(outcome.status, 0) << Joined(args) << outcome.err;
    EXPECT_EQ(outcome.err, "") << Joined(args);
    EXPECT_FALSE(ReadBytes(work_ / "stdout").empty()) << Joined(args);
  }
}

}  // namespace
}  // namespace tolvane
