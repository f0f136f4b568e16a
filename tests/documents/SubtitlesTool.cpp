// Not a test: annotates a subtitle file as a learner would ask for it (reading by context, tone
// marks), to read the result or show it in a browser.
//
//   SubtitlesTool SOURCE TARGET [--line-above] [--written]
#include <cstdio>
#include <string>

#include "documents/Subtitles.h"
#include "reading/Session.h"

int main(int argc, char* argv[]) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: SubtitlesTool SOURCE TARGET [--line-above] [--written]\n");
    return 2;
  }
  try {
    tolvane::Session session;
    tolvane::StartSession(session, std::filesystem::path(TOLVANE_PROGRAM_DIR));
    tolvane::LineReadings readings(session.Data());
    tolvane::ConversionSettings settings;
    settings.polyphone = tolvane::PolyphonePolicy::ByContext;
    settings.toneStyle = tolvane::ToneStyle::Marked;
    tolvane::SubtitleOptions options;
    for (int i = 3; i < argc; ++i) {
      const std::string option = argv[i];
      if (option == "--line-above") options.vttReadings = tolvane::VttReadings::LineAbove;
      if (option == "--written") settings.orthography = true;
    }
    const tolvane::SubtitleFormat format =
        tolvane::ConvertSubtitles(readings, argv[1], argv[2], settings, options);
    std::printf("%s written\n", format == tolvane::SubtitleFormat::Srt ? "SRT" : "WebVTT");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "SubtitlesTool: %s\n", error.what());
    return 1;
  }
  return 0;
}
