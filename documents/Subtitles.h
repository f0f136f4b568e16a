#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/TextEncoding.h"
#include "reading/LineReadings.h"
#include "settings/ConversionSettings.h"

// Subtitles annotated cue by cue, so that a learner watching a film reads the pinyin with the
// line. Everything but the cues' text lines (the numbers and identifiers, the timing lines with
// their cue settings, the blank lines, WebVTT's header and its NOTE, STYLE and REGION blocks)
// goes out exactly as it came, in UTF-8, so that the target plays in step with the film exactly
// as the source did.
namespace tolvane {

enum class SubtitleFormat { Srt, Vtt };

// How the readings go into a WebVTT cue: as ruby over the characters (WebVTT's own markup, shown
// by browsers), or as a line of pinyin over each text line, for players that show no ruby. SRT
// has no ruby: its cues always get the line above.
enum class VttReadings { Ruby, LineAbove };

struct SubtitleOptions {
  VttReadings vttReadings = VttReadings::Ruby;
  EncodingChoice encoding = EncodingChoice::Auto;
};

// The format of a subtitle file from its bytes (in any encoding Tolvane reads) and its name: the
// content decides (a WEBVTT header; a cue number followed by a timing line, or a timing line, as
// SRT begins), else the extension (.srt, .vtt, in any case), so that a file named so whose
// content is damaged is reported where it is damaged. Nothing for anything else.
std::optional<SubtitleFormat> DetectSubtitleFormat(const std::filesystem::path& path,
                                                   std::string_view bytes);

// The same for a file on disk; raises the file error when it cannot be read.
std::optional<SubtitleFormat> DetectSubtitleFile(const std::filesystem::path& path,
                                                 EncodingChoice choice = EncodingChoice::Auto);

// Annotates subtitle text held as UTF-8 (LF or CR LF line ends, each line keeping its own) and
// returns the annotated text. Each text line of a cue gets the py-only layout's line of it under
// `settings` (the written line with the orthography switch) above it in SRT, and in WebVTT ruby
// or that line above as `options` say; a line with nothing to read (Latin text only) stays alone.
// The settings' layout and wrap width do not apply: cue lines are never re-cut. A line that breaks
// the format raises Error "Subtitle file "<name>", line <n>: <what>", naming `name`.
std::string AnnotateSubtitleText(LineReadings& readings, std::string_view textUtf8,
                                 SubtitleFormat format, const std::filesystem::path& name,
                                 const ConversionSettings& settings,
                                 const SubtitleOptions& options = {});

// Reads `source` (its encoding detected, or as `options` choose; bytes that decode to nothing
// stand as U+FFFD), annotates it as above and writes the result in UTF-8 to `target` through a
// scratch file that replaces the target only when it is whole: a failure leaves the old target.
// The target starts with a UTF-8 byte-order mark when the source started with any. Raises the
// file errors, and Error naming the source and the line where it is no subtitle file. Returns
// the format it read.
SubtitleFormat ConvertSubtitles(LineReadings& readings, const std::filesystem::path& source,
                                const std::filesystem::path& target,
                                const ConversionSettings& settings,
                                const SubtitleOptions& options = {});

}  // namespace tolvane
