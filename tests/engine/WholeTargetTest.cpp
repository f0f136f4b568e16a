#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <istream>
#include <set>
#include <streambuf>

#include <gtest/gtest.h>

#include "engine/BatchConversion.h"
#include "platform/Error.h"
#include "reading/Session.h"
#include "support/ScriptedRunObserver.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;

using test::Gb;
using test::ReadBytes;
using test::ScriptedObserver;
using test::TempDir;
using test::WriteBytes;

const std::string kOld = "the old target\r\nas it was\r\n";

// Past the bytes a run reads to choose the encoding, so that an event at kEventAt comes while
// the run reads its chunks (or re-cuts them), after it has opened what it writes.
constexpr std::size_t kBigSource = 5u << 20;
constexpr std::size_t kEventAt = 4608u << 10;

// Lines of code page 936 text, `bytes` long, different for each `seed`.
std::string BigSource(std::size_t bytes, int seed) {
  const std::string pieces[] = {Gb("我爱北京天安门，"), Gb("中国人民很好。"), Gb("今天天气不错。"),
                                "abc 123 "};
  std::string text;
  text.reserve(bytes + 64);
  for (std::size_t line = 0; text.size() < bytes; ++line) {
    text += pieces[(line + seed) % 4];
    text += pieces[(line * 3 + seed) % 4];
    text += "\r\n";
  }
  return text;
}

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

// A source read through a stream that does something, once, when the run has read `at` bytes.
class SourceWithAnEvent : public std::streambuf {
 public:
  SourceWithAnEvent(std::string bytes, std::size_t at, std::function<void()> event)
      : bytes_(std::move(bytes)), at_(at), event_(std::move(event)) {}

 protected:
  int_type underflow() override {
    if (position_ >= bytes_.size()) return traits_type::eof();
    if (!happened_ && position_ >= at_) {
      happened_ = true;
      event_();
    }
    std::size_t size = std::min<std::size_t>(bytes_.size() - position_, 64 << 10);
    if (!happened_) size = std::min(size, at_ - position_);
    char* begin = bytes_.data() + position_;
    setg(begin, begin, begin + size);
    position_ += size;
    return traits_type::to_int_type(*begin);
  }

 private:
  std::string bytes_;
  std::size_t at_;
  std::function<void()> event_;
  std::size_t position_ = 0;
  bool happened_ = false;
};

class WholeTarget : public testing::Test {
 protected:
  void SetUp() override { StartSession(session_, test::SourceDataFolder()); }

  BatchRequest Request(const fs::path& source, const fs::path& target, int wrap = 0) {
    BatchRequest request;
    request.source = source;
    request.target = target;
    request.settings.toneStyle = ToneStyle::Numbered;
    request.settings.outputFormat = OutputFormat::rb_output_hanpy;
    request.settings.wrapWidth = wrap;
    request.programFolder = program_.path();
    request.data = session_.Data();
    return request;
  }

  // What a run alone makes of `bytes`: the target, and temp.txt with a wrap width.
  std::pair<std::string, std::string> ConvertedAlone(const std::string& bytes, int wrap) {
    TempDir dir;
    TempDir program;
    WriteBytes(dir / "source.txt", bytes);
    BatchRequest request = Request(dir / "source.txt", dir / "target.txt", wrap);
    request.programFolder = program.path();
    ScriptedObserver observer;
    EXPECT_EQ(BatchConversion(request, observer).status, RunStatus::Completed);
    return {ReadBytes(dir / "target.txt"), wrap > 0 ? ReadBytes(program / "temp.txt") : ""};
  }

  Session session_;
  TempDir dir_;
  TempDir program_;
};

TEST_F(WholeTarget, AFailedRunLeavesTheOldTargetByteForByteAndNoScratchFile) {
  struct Case {
    const char* name;
    int wrap;
    // Makes the run fail part-way, after it has written some of its output.
    std::function<void(BatchRequest&, std::istream&)> arrange;
  };
  const Case cases[] = {
      {"a character without its tone glyph", 0,
       [&](BatchRequest& request, std::istream&) {
         TempDir noGlyphs;
         session_.LoadDataFiles(noGlyphs.path());
         request.data = session_.Data();
         request.settings.toneStyle = ToneStyle::Marked;
       }},
      {"a read of the source that fails midway", 0,
       [](BatchRequest& request, std::istream& failing) { request.sourceStream = &failing; }},
      {"a read that fails midway while re-cutting", 7,
       [](BatchRequest& request, std::istream& failing) { request.sourceStream = &failing; }},
  };
  for (const Case& c : cases) {
    StartSession(session_, test::SourceDataFolder());
    WriteBytes(dir_ / "a.txt", Gb("们\r\n中国\r\n"));
    WriteBytes(dir_ / "out.txt", kOld);
    WriteBytes(program_ / "temp.txt", "the last re-cut text\r\n");
    SourceWithAnEvent source(BigSource(kBigSource, 0), kEventAt,
                             [] { throw Error("the disk went away"); });
    std::istream failing(&source);
    BatchRequest request = Request(dir_ / "a.txt", dir_ / "out.txt", c.wrap);
    c.arrange(request, failing);
    ScriptedObserver observer;
    EXPECT_EQ(BatchConversion(request, observer).status, RunStatus::Failed) << c.name;
    EXPECT_TRUE(ReadBytes(dir_ / "out.txt") == kOld) << c.name << ": the old target is gone";
    EXPECT_EQ(Names(dir_.path()), (std::set<std::string>{"a.txt", "out.txt"})) << c.name;
    EXPECT_EQ(Names(program_.path()), std::set<std::string>{"temp.txt"}) << c.name;
    EXPECT_TRUE(ReadBytes(program_ / "temp.txt") == "the last re-cut text\r\n")
        << c.name << ": temp.txt is not the last whole one";
  }
}

TEST_F(WholeTarget, TheTargetsFolderIsMadeOnlyForARunThatWritesIt) {
  // Without tone glyphs the Marked style fails at the first character that needs a mark.
  WriteBytes(dir_ / "a.txt", Gb("中\r\n"));
  ScriptedObserver observer;
  // A missing source writes nothing.
  BatchRequest missing = Request(dir_ / "missing.txt", dir_ / "new" / "out.txt");
  EXPECT_EQ(BatchConversion(missing, observer).status, RunStatus::SourceMissing);
  EXPECT_FALSE(fs::exists(dir_ / "new"));
  // A run that fails takes away the folder it made.
  TempDir noGlyphs;
  session_.LoadDataFiles(noGlyphs.path());
  BatchRequest failing = Request(dir_ / "a.txt", dir_ / "new" / "out.txt");
  failing.data = session_.Data();
  failing.settings.toneStyle = ToneStyle::Marked;
  EXPECT_EQ(BatchConversion(failing, observer).status, RunStatus::Failed);
  EXPECT_FALSE(fs::exists(dir_ / "new"));
  // but not a folder that was there before it.
  fs::create_directory(dir_ / "old");
  failing.target = dir_ / "old" / "out.txt";
  EXPECT_EQ(BatchConversion(failing, observer).status, RunStatus::Failed);
  EXPECT_TRUE(fs::is_directory(dir_ / "old"));
  // A run that completes keeps it.
  StartSession(session_, test::SourceDataFolder());
  BatchRequest completing = Request(dir_ / "a.txt", dir_ / "new" / "out.txt");
  EXPECT_EQ(BatchConversion(completing, observer).status, RunStatus::Completed);
  EXPECT_EQ(ReadBytes(dir_ / "new" / "out.txt"), Gb("中(zhong1)\r\n"));
}

mode_t Mode(const fs::path& path) {
  struct stat status = {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status.st_mode & 07777;
}

TEST_F(WholeTarget, AReplacedFileKeepsItsModeAndANewFileGetsTheUsualOne) {
  const mode_t umask = ::umask(022);
  ::umask(umask);
  const struct {
    const char* name;
    bool inPlace;   // the target is the source
    mode_t before;  // 0: the target does not exist yet
    mode_t expected;
  } cases[] = {
      {"the source converted in place", true, 0600, 0600},
      {"a group-readable source in place", true, 0640, 0640},
      {"a target that is replaced", false, 0600, 0600},
      {"a new target", false, 0, static_cast<mode_t>(0666 & ~umask)},
  };
  for (const auto& c : cases) {
    TempDir dir;
    WriteBytes(dir / "a.txt", Gb("我\r\n"));
    const fs::path target = c.inPlace ? dir / "a.txt" : dir / "out.txt";
    if (c.before != 0) {
      if (!c.inPlace) WriteBytes(target, kOld);
      ASSERT_EQ(::chmod(target.c_str(), c.before), 0);
    }
    ScriptedObserver observer;
    ASSERT_EQ(BatchConversion(Request(dir / "a.txt", target), observer).status,
              RunStatus::Completed)
        << c.name;
    EXPECT_EQ(ReadBytes(target), Gb("我(wo3)\r\n")) << c.name;
    EXPECT_EQ(Mode(target), c.expected) << c.name << std::oct << ": mode " << Mode(target);
  }
}

pid_t AProcessThatIsGone() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

TEST_F(WholeTarget, ARunTidiesTheScratchFilesOfItsTargetLeftByProcessesThatAreGone) {
  WriteBytes(dir_ / "a.txt", Gb("我\r\n"));
  const std::string gone = ".out.txt.tolvane-" + std::to_string(AProcessThatIsGone()) + "-aB3xYz";
  const std::string live = ".out.txt.tolvane-" + std::to_string(::getpid()) + "-aB3xYz";
  const std::string others[] = {
      live,                                                                      // a run going on
      ".other.txt.tolvane-" + std::to_string(AProcessThatIsGone()) + "-aB3xYz",  // another target
      ".out.txt.tolvane-notes",  // not a scratch name
  };
  WriteBytes(dir_ / gone, "left by a run killed outright");
  for (const std::string& other : others) WriteBytes(dir_ / other, "kept");
  ScriptedObserver observer;
  ASSERT_EQ(BatchConversion(Request(dir_ / "a.txt", dir_ / "out.txt"), observer).status,
            RunStatus::Completed);
  EXPECT_FALSE(fs::exists(dir_ / gone));
  for (const std::string& other : others) EXPECT_EQ(ReadBytes(dir_ / other), "kept") << other;
}

TEST_F(WholeTarget, AnOddLastByteOfUtf16SurvivesTheWrap) {
  const std::string odd = std::string(
      "\xff\xfe"
      "A\0\n\0B",
      7);
  const auto [unwrapped, unused] = ConvertedAlone(odd, 0);
  const auto [wrapped, temp] = ConvertedAlone(odd, 10);
  ASSERT_FALSE(unwrapped.empty());
  EXPECT_EQ(unwrapped.back(), 'B');
  EXPECT_EQ(wrapped, unwrapped);
}

TEST_F(WholeTarget, ASourceThatIsTempTxtIsReadWholeBeforeItIsReplaced) {
  // Larger than what the run reads to choose the encoding, so that the rest is read later.
  const std::string text = BigSource(kBigSource, 1);
  const auto [expected, expectedTemp] = ConvertedAlone(text, 10);
  WriteBytes(program_ / "temp.txt", text);
  ScriptedObserver observer;
  ASSERT_EQ(BatchConversion(Request(program_ / "temp.txt", dir_ / "out.txt", 10), observer).status,
            RunStatus::Completed);
  EXPECT_TRUE(ReadBytes(dir_ / "out.txt") == expected) << "the output is cut";
  EXPECT_TRUE(ReadBytes(program_ / "temp.txt") == expectedTemp);
  EXPECT_EQ(Names(program_.path()), std::set<std::string>{"temp.txt"});
}

TEST_F(WholeTarget, ARunThatComesAndGoesWhileAnotherReCutsLeavesBothWhole) {
  const std::string first = BigSource(kBigSource, 0);
  const std::string second = BigSource(1u << 20, 2);
  const auto [expectedFirst, expectedTemp] = ConvertedAlone(first, 10);
  const auto [expectedSecond, unused] = ConvertedAlone(second, 10);
  WriteBytes(dir_ / "second.txt", second);
  // The second run, with the same temp.txt, starts and ends while the first re-cuts its source.
  SourceWithAnEvent source(first, kEventAt, [&] {
    ScriptedObserver observer;
    EXPECT_EQ(
        BatchConversion(Request(dir_ / "second.txt", dir_ / "second_out.txt", 10), observer).status,
        RunStatus::Completed);
  });
  std::istream in(&source);
  BatchRequest request = Request("-", dir_ / "first_out.txt", 10);
  request.sourceStream = &in;
  ScriptedObserver observer;
  ASSERT_EQ(BatchConversion(request, observer).status, RunStatus::Completed);
  EXPECT_TRUE(ReadBytes(dir_ / "first_out.txt") == expectedFirst);
  EXPECT_TRUE(ReadBytes(dir_ / "second_out.txt") == expectedSecond);
  EXPECT_TRUE(ReadBytes(program_ / "temp.txt") == expectedTemp) << "the last re-cut, whole";
  EXPECT_EQ(Names(program_.path()), std::set<std::string>{"temp.txt"});
}

TEST_F(WholeTarget, OfTwoRunsWritingOneTargetTheOneThatEndsLastIsTheWholeTarget) {
  const std::string first = BigSource(kBigSource, 0);
  const auto [expected, unused] = ConvertedAlone(first, 0);
  WriteBytes(dir_ / "second.txt", Gb("我\r\n"));
  // The second run starts and ends while the first writes the same target.
  SourceWithAnEvent source(first, kEventAt, [&] {
    ScriptedObserver observer;
    EXPECT_EQ(BatchConversion(Request(dir_ / "second.txt", dir_ / "out.txt"), observer).status,
              RunStatus::Completed);
    EXPECT_EQ(ReadBytes(dir_ / "out.txt"), Gb("我(wo3)\r\n"));
  });
  std::istream in(&source);
  BatchRequest request = Request("-", dir_ / "out.txt");
  request.sourceStream = &in;
  ScriptedObserver observer;
  ASSERT_EQ(BatchConversion(request, observer).status, RunStatus::Completed);
  EXPECT_TRUE(ReadBytes(dir_ / "out.txt") == expected);
  EXPECT_EQ(Names(dir_.path()), (std::set<std::string>{"out.txt", "second.txt"}));
}

}  // namespace
}  // namespace tolvane
