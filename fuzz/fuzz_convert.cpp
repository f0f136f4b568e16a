// The whole conversion of a file, BatchConversion from the source's bytes to a stream, under a
// layout, polyphone policy, tone style, wrap width, chunk size and source encoding taken from the
// input. Properties: every run ends, Completed or Failed with an Error (a missing tone glyph is
// the one failure the shipped data allows), never otherwise; and in the hanpy layout with plain
// tones and no wrap, over text that decodes in code page 936, every line of the source has its
// line in the target, holding each of its characters in order. Input holding a NUL is left out
// of that second property: what a NUL means to a source is the reader's business.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "FuzzInput.h"
#include "engine/BatchConversion.h"
#include "platform/Cp936.h"
#include "platform/TextFile.h"
#include "reading/Session.h"

using namespace tolvane;

namespace {

// The shipped tone glyphs and phrase data, loaded once; the run's temp.txt beside nothing else.
struct Loaded {
  Session session;
  std::filesystem::path scratch;
  Loaded() {
    StartSession(session, std::filesystem::path(TOLVANE_SOURCE_DIR) / "data");
    scratch = std::filesystem::temp_directory_path() /
              ("tolvane-fuzz-convert-" + std::to_string(getpid()));
    std::filesystem::create_directories(scratch);
  }
};

Loaded& Data() {
  static Loaded loaded;
  return loaded;
}

class QuietObserver : public RunObserver {
 public:
  void ProgressStarted(std::size_t) override {}
  void ProgressStepped() override {}
  void ProgressRangeCorrected(std::size_t) override {}
};

// Each code page 936 character of `line` occurs in `output` in order.
bool HoldsInOrder(std::string_view line, std::string_view output) {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t length = cp936::CharLengthAt(line, i);
    pos = output.find(line.substr(i, length), pos);
    if (pos == std::string_view::npos) return false;
    pos += length;
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const std::uint8_t layout = input.Byte();
  const std::uint8_t run = input.Byte();
  static const int kWraps[] = {0, 0, 0, 0, 100, 50, 40, 30, 20, 10};
  static const std::size_t kChunkBytes[] = {0, 1, 2, 7, 64, 4096};

  BatchRequest request;
  request.source = "fuzz.txt";
  request.target = "-";
  request.settings.outputFormat = static_cast<OutputFormat>(layout % 6);
  request.settings.polyphone = static_cast<PolyphonePolicy>((layout >> 3) % 3);
  request.settings.toneStyle = static_cast<ToneStyle>((layout >> 5) % 3);
  request.settings.align = (run & 1) != 0;
  request.settings.wadeGiles = (run & 2) != 0;
  request.settings.wrapWidth = kWraps[(run >> 2) % std::size(kWraps)];
  request.chunkBytes = kChunkBytes[(run >> 6) % std::size(kChunkBytes)];
  request.sourceEncoding = static_cast<EncodingChoice>(input.Byte() % 6);
  request.jobs = 1;
  request.data = Data().session.Data();
  request.programFolder = Data().scratch;

  const std::string source(input.Rest());
  const bool holdsEverything =
      request.settings.outputFormat == OutputFormat::rb_output_hanpy &&
      request.settings.toneStyle == ToneStyle::Plain && request.settings.wrapWidth == 0 &&
      source.find('\0') == std::string::npos && !cp936::FirstUndecodable(source);
  // Read as code page 936 and written so, the target's bytes compare with the source's.
  if (holdsEverything) request.sourceEncoding = EncodingChoice::Gbk;
  request.sourceBytes = &source;
  std::ostringstream target;
  request.targetStream = &target;

  QuietObserver observer;
  const RunOutcome outcome = BatchConversion(request, observer);
  FUZZ_CHECK(outcome.status != RunStatus::SourceMissing);
  FUZZ_CHECK((outcome.status == RunStatus::Failed) == outcome.error.has_value());
  if (outcome.status == RunStatus::Completed && holdsEverything) {
    const std::string written = target.str();
    const LineList sourceLines{source};
    const LineList targetLines{written};
    FUZZ_CHECK(sourceLines.size() == targetLines.size());
    for (std::size_t i = 0; i < sourceLines.size(); ++i)
      FUZZ_CHECK(HoldsInOrder(sourceLines[i], targetLines[i]));
  }
  return 0;
}
