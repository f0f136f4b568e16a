// Subtitles from arbitrary bytes: their format told from the bytes and from a file, and the cues
// annotated (AnnotateSubtitleText on the text, or ConvertSubtitles from a file to a file) under
// settings taken from the input, over the shipped data.
// Properties: a file's format is told the same from its bytes and from the file; a conversion
// either succeeds with the format told, or raises Error naming the file and one of its lines;
// and when it succeeds everything but the cues' text lines (the header, numbers, identifiers,
// timing lines, blank lines, NOTE, STYLE and REGION blocks) comes out byte for byte, with as
// many cues; each text line keeps its line end and, where a line of pinyin goes above, stays as
// it was with at most that one line before it, or, with ruby, keeps its bytes in order.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "FuzzInput.h"
#include "documents/Subtitles.h"
#include "platform/Error.h"
#include "platform/TextFile.h"
#include "platform/UnicodeText.h"
#include "reading/LineReadings.h"
#include "reading/Session.h"

using namespace tolvane;

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The shipped data, loaded once for the whole run, and the run's own scratch folder.
struct Loaded {
  Session session;
  std::filesystem::path scratch;
  Loaded() {
    StartSession(session, std::filesystem::path(TOLVANE_SOURCE_DIR) / "data");
    scratch = std::filesystem::temp_directory_path() /
              ("tolvane-fuzz-subtitles-" + std::to_string(getpid()));
    std::filesystem::create_directories(scratch);
  }
  ~Loaded() {
    std::error_code ec;
    std::filesystem::remove_all(scratch, ec);
  }
};

Loaded& Data() {
  static Loaded loaded;
  return loaded;
}

// The bytes as well-formed UTF-8: each byte that is no part of a character becomes U+FFFD.
std::string WellFormed(std::string_view bytes) {
  std::string text;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t length = unicode::WellFormedUtf8Length(bytes, pos);
    if (length == 0) {
      text += "\xEF\xBF\xBD";
      ++pos;
    } else {
      text.append(bytes.substr(pos, length));
      pos += length;
    }
  }
  return text;
}

struct Line {
  std::string_view text;   // without its line end
  std::string_view whole;  // with it
};

std::vector<Line> LinesOf(std::string_view text) {
  std::vector<Line> lines;
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    const std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
    std::string_view bare = text.substr(0, newline);
    if (newline != std::string_view::npos && bare.ends_with('\r')) bare.remove_suffix(1);
    lines.push_back({bare, text.substr(0, end)});
    text.remove_prefix(end);
  }
  return lines;
}

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t") == line.npos; }

bool StartsBlock(std::string_view line, std::string_view keyword) {
  return line.starts_with(keyword) && (line.size() == keyword.size() ||
                                       line[keyword.size()] == ' ' || line[keyword.size()] == '\t');
}

// A subtitle text cut as the formats cut it: the lines kept as they are, and the text lines of
// each cue.
struct Shape {
  std::vector<std::string_view> kept;
  std::vector<std::vector<std::string_view>> cueTexts;
};

Shape ShapeOf(std::string_view text, SubtitleFormat format) {
  Shape shape;
  const std::vector<Line> lines = LinesOf(text);
  std::size_t i = 0;
  const auto keepBlock = [&] {
    while (i < lines.size() && !IsBlank(lines[i].text)) shape.kept.push_back(lines[i++].whole);
  };
  if (format == SubtitleFormat::Vtt) keepBlock();  // the header
  while (i < lines.size()) {
    const std::string_view line = lines[i].text;
    if (IsBlank(line)) {
      shape.kept.push_back(lines[i++].whole);
    } else if (format == SubtitleFormat::Vtt &&
               (StartsBlock(line, "NOTE") || StartsBlock(line, "STYLE") ||
                StartsBlock(line, "REGION"))) {
      keepBlock();
    } else {
      if (line.find("-->") == std::string_view::npos) shape.kept.push_back(lines[i++].whole);
      if (i < lines.size()) shape.kept.push_back(lines[i++].whole);  // the timing line
      auto& cue = shape.cueTexts.emplace_back();
      while (i < lines.size() && !IsBlank(lines[i].text)) cue.push_back(lines[i++].whole);
    }
  }
  return shape;
}

// Each line of `in` stands in `out` in order, with at most one line before it.
bool LinesWithOneAbove(const std::vector<std::string_view>& in,
                       const std::vector<std::string_view>& out) {
  // matches[j]: whether in[i..] is out[j..] so; filled from the end.
  std::vector<char> matches(out.size() + 2, 0);
  matches[out.size()] = 1;
  for (std::size_t i = in.size(); i-- > 0;) {
    std::vector<char> next(out.size() + 2, 0);
    for (std::size_t j = 0; j < out.size(); ++j) {
      next[j] = (out[j] == in[i] && matches[j + 1]) ||
                (j + 1 < out.size() && out[j + 1] == in[i] && matches[j + 2]);
    }
    matches = std::move(next);
  }
  return matches[0] != 0;
}

bool IsSubsequence(std::string_view part, std::string_view whole) {
  std::size_t at = 0;
  for (const char c : whole)
    if (at < part.size() && part[at] == c) ++at;
  return at == part.size();
}

std::string_view LineEnd(std::string_view whole) {
  if (whole.ends_with("\r\n")) return "\r\n";
  if (whole.ends_with('\n')) return "\n";
  return {};
}

void CheckAnnotated(std::string_view in, std::string_view out, SubtitleFormat format,
                    VttReadings vtt) {
  FUZZ_CHECK(in.starts_with(kBom) == out.starts_with(kBom));
  if (in.starts_with(kBom)) {
    in.remove_prefix(kBom.size());
    out.remove_prefix(kBom.size());
  }
  const Shape before = ShapeOf(in, format);
  const Shape after = ShapeOf(out, format);
  FUZZ_CHECK(before.kept == after.kept);
  FUZZ_CHECK(before.cueTexts.size() == after.cueTexts.size());
  for (std::size_t c = 0; c < before.cueTexts.size(); ++c) {
    const auto& lines = before.cueTexts[c];
    const auto& annotated = after.cueTexts[c];
    if (format == SubtitleFormat::Vtt && vtt == VttReadings::Ruby) {
      // Ruby goes inside the line: the lines stay as many, each with its line end, and only
      // markup is put in, so the line's bytes all stand in the annotated line in order.
      FUZZ_CHECK(lines.size() == annotated.size());
      for (std::size_t k = 0; k < lines.size(); ++k) {
        FUZZ_CHECK(LineEnd(lines[k]) == LineEnd(annotated[k]));
        FUZZ_CHECK(IsSubsequence(lines[k], annotated[k]));
      }
    } else {
      FUZZ_CHECK(LinesWithOneAbove(lines, annotated));
    }
  }
}

void CheckError(const Error& error, const std::filesystem::path& name, std::string_view text) {
  const std::string start = "Subtitle file \"" + name.string() + "\", line ";
  const std::string_view what(error.what());
  FUZZ_CHECK(what.starts_with(start));
  FUZZ_CHECK(error.path() == name);
  const std::size_t line =
      std::strtoul(std::string(what.substr(start.size())).c_str(), nullptr, 10);
  FUZZ_CHECK(line >= 1 && line <= std::max<std::size_t>(LinesOf(text).size(), 1));
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Loaded& loaded = Data();
  fuzz::FuzzInput input(data, size);
  const std::uint8_t flags = input.Byte();
  ConversionSettings settings;
  settings.toneStyle = static_cast<ToneStyle>(flags % 3);
  settings.polyphone = (flags & 4) ? PolyphonePolicy::ByContext : PolyphonePolicy::FirstReading;
  settings.orthography = (flags & 8) != 0 && settings.polyphone == PolyphonePolicy::ByContext;
  SubtitleOptions options;
  options.vttReadings = (flags & 16) ? VttReadings::LineAbove : VttReadings::Ruby;
  static const char* const kExtensions[] = {".srt", ".vtt", ".txt", ""};
  const std::string name = std::string("cues") + kExtensions[(flags >> 5) & 3];
  const bool throughFiles = (flags & 128) != 0;
  const std::string_view bytes = input.Rest();

  const std::optional<SubtitleFormat> told = DetectSubtitleFormat(name, bytes);
  const std::string text = WellFormed(bytes);
  LineReadings readings(loaded.session.Data());
  if (!throughFiles) {
    // The text as the format told from it says, or as its name would when nothing is told.
    const SubtitleFormat format =
        told.value_or((flags & 32) ? SubtitleFormat::Vtt : SubtitleFormat::Srt);
    std::string out;
    try {
      out = AnnotateSubtitleText(readings, text, format, name, settings, options);
    } catch (const Error& error) {
      CheckError(error, name, text);
      return 0;
    }
    CheckAnnotated(text, out, format, options.vttReadings);
    return 0;
  }

  const std::filesystem::path source = loaded.scratch / name;
  const std::filesystem::path target = loaded.scratch / "target";
  WriteFile(source, bytes);
  FUZZ_CHECK(DetectSubtitleFile(source) == told);
  // The well-formed text read as UTF-8, so that what the conversion reads is `text`.
  WriteFile(source, text);
  options.encoding = EncodingChoice::Utf8;
  const std::optional<SubtitleFormat> format = DetectSubtitleFile(source, EncodingChoice::Utf8);
  SubtitleFormat converted;
  try {
    converted = ConvertSubtitles(readings, source, target, settings, options);
  } catch (const Error& error) {
    FUZZ_CHECK(!std::filesystem::exists(target));
    CheckError(error, source, text);
    return 0;
  }
  FUZZ_CHECK(format == converted);
  CheckAnnotated(text, ReadWholeFile(target), converted, options.vttReadings);
  std::filesystem::remove(target);
  std::filesystem::remove(source);
  return 0;
}
