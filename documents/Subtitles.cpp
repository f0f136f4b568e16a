#include "documents/Subtitles.h"

#include <cerrno>

#include <fstream>

#include <algorithm>
#include <cctype>
#include <vector>

#include "documents/SubtitlesCueText.h"
#include "engine/AnnotateLine.h"
#include "engine/RubyLine.h"
#include "engine/TargetReplacement.h"
#include "platform/EncodingDetection.h"
#include "platform/Error.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"
#include "platform/UnicodeText.h"
#include "reading/shared/PositionReading.h"

namespace tolvane {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct Line {
  std::string_view text;  // without its line end
  std::string_view end;   // "\r\n", "\n", or "" for a last line without one
};

std::vector<Line> LinesOf(std::string_view text) {
  std::vector<Line> lines;
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    if (newline == std::string_view::npos) {
      lines.push_back({text, {}});
      break;
    }
    const bool crlf = newline > 0 && text[newline - 1] == '\r';
    lines.push_back({text.substr(0, crlf ? newline - 1 : newline),
                     text.substr(crlf ? newline - 1 : newline, crlf ? 2 : 1)});
    text.remove_prefix(newline + 1);
  }
  return lines;
}

bool IsBlank(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

std::string_view TrimmedBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// An SRT cue number: digits alone on their line.
bool IsCueNumber(std::string_view line) {
  line = TrimmedBlanks(line);
  return !line.empty() && std::all_of(line.begin(), line.end(), IsDigit);
}

// Reads `count` digits (at least `count`, when `orMore`) at `pos`; their value, or -1.
long long DigitsAt(std::string_view text, std::size_t& pos, std::size_t count, bool orMore) {
  long long value = 0;
  std::size_t read = 0;
  while (pos < text.size() && IsDigit(text[pos]) && (orMore || read < count) && read < 12) {
    value = value * 10 + (text[pos++] - '0');
    ++read;
  }
  return read >= count ? value : -1;
}

bool CharAt(std::string_view text, std::size_t& pos, std::string_view options) {
  if (pos >= text.size() || options.find(text[pos]) == std::string_view::npos) return false;
  ++pos;
  return true;
}

// SRT's time: hours:minutes:seconds,milliseconds (a full stop is also met for the comma, and
// single digits from some tools).
bool SrtTimeAt(std::string_view text, std::size_t& pos) {
  const long long hours = DigitsAt(text, pos, 1, true);
  if (hours < 0 || !CharAt(text, pos, ":")) return false;
  const long long minutes = DigitsAt(text, pos, 1, true);
  if (minutes < 0 || minutes > 59 || !CharAt(text, pos, ":")) return false;
  const long long seconds = DigitsAt(text, pos, 1, true);
  if (seconds < 0 || seconds > 59 || !CharAt(text, pos, ",.")) return false;
  return DigitsAt(text, pos, 1, true) >= 0;
}

// WebVTT's time: [hours:]minutes:seconds.milliseconds, minutes and seconds in two digits, the
// milliseconds in three.
bool VttTimeAt(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  const long long first = DigitsAt(text, pos, 2, true);
  const std::size_t firstDigits = pos - start;
  if (first < 0 || !CharAt(text, pos, ":")) return false;
  const long long second = DigitsAt(text, pos, 2, false);
  if (second < 0 || second > 59) return false;
  if (CharAt(text, pos, ":")) {
    const long long seconds = DigitsAt(text, pos, 2, false);
    if (seconds < 0 || seconds > 59) return false;
  } else if (firstDigits != 2 || first > 59) {
    return false;
  }
  if (!CharAt(text, pos, ".") || DigitsAt(text, pos, 3, false) < 0) return false;
  return pos == text.size() || !IsDigit(text[pos]);
}

void SkipBlanks(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
}

// "start --> end", then (SRT) the coordinates some tools add, or (WebVTT) the cue settings.
bool IsTimingLine(std::string_view line, SubtitleFormat format) {
  const auto timeAt = format == SubtitleFormat::Srt ? SrtTimeAt : VttTimeAt;
  std::size_t pos = 0;
  SkipBlanks(line, pos);
  if (!timeAt(line, pos)) return false;
  SkipBlanks(line, pos);
  if (line.substr(pos, 3) != "-->") return false;
  pos += 3;
  SkipBlanks(line, pos);
  if (!timeAt(line, pos)) return false;
  return pos == line.size() || line[pos] == ' ' || line[pos] == '\t';
}

bool HasArrow(std::string_view line) { return line.find("-->") != std::string_view::npos; }

// WebVTT's first line: "WEBVTT", alone or followed by a space or tab and any text.
bool IsVttSignature(std::string_view line) {
  if (line.substr(0, 6) != "WEBVTT") return false;
  return line.size() == 6 || line[6] == ' ' || line[6] == '\t';
}

// A block of WebVTT that is no cue: a comment, a style sheet or a region's definition.
bool IsVttOtherBlock(std::string_view line) {
  for (const std::string_view keyword : {"NOTE", "STYLE", "REGION"}) {
    if (line.substr(0, keyword.size()) != keyword) continue;
    if (line.size() == keyword.size() || line[keyword.size()] == ' ' ||
        line[keyword.size()] == '\t')
      return true;
  }
  return false;
}

std::string LowerExtension(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

std::optional<SubtitleFormat> FormatOfText(const std::filesystem::path& path,
                                           std::string_view text) {
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
  const std::vector<Line> lines = LinesOf(text);
  if (!lines.empty() && IsVttSignature(lines.front().text)) return SubtitleFormat::Vtt;
  const auto first = std::find_if(lines.begin(), lines.end(),
                                  [](const Line& line) { return !IsBlank(line.text); });
  if (first != lines.end()) {
    if (IsTimingLine(first->text, SubtitleFormat::Srt)) return SubtitleFormat::Srt;
    if (IsCueNumber(first->text) && first + 1 != lines.end() &&
        IsTimingLine((first + 1)->text, SubtitleFormat::Srt))
      return SubtitleFormat::Srt;
  }
  const std::string extension = LowerExtension(path);
  if (extension == ".srt") return SubtitleFormat::Srt;
  if (extension == ".vtt") return SubtitleFormat::Vtt;
  return std::nullopt;
}

struct DecodedSubtitles {
  std::string text;  // UTF-8
  bool byteOrderMark = false;
};

// The bytes decoded as a run reads its source, with every byte that decodes to nothing as U+FFFD:
// the target is UTF-8 text, which such a byte is not.
DecodedSubtitles Decode(std::string_view bytes, EncodingChoice choice) {
  const SourceEncoding encoding = ChooseEncoding(bytes, choice);
  const DecodedText decoded = DecodeText(bytes.substr(encoding.byteOrderMarkLength),
                                         encoding.encoding.encoding, encoding.byteOrderMarkLength);
  DecodedSubtitles out;
  out.byteOrderMark = encoding.byteOrderMarkLength > 0;
  out.text.reserve(decoded.text.size());
  unicode::ForEachCodePoint(decoded.text, [&](std::string_view character, char32_t cp) {
    if (unicode::IsRawByte(cp)) {
      unicode::AppendCodePoint(out.text, unicode::kReplacement);
    } else {
      out.text.append(character);
    }
  });
  if (!decoded.trailingBytes.empty()) unicode::AppendCodePoint(out.text, unicode::kReplacement);
  return out;
}

// Walks the lines of one subtitle text, copying what is kept and annotating the cues' text.
class SubtitleAnnotator {
 public:
  SubtitleAnnotator(LineReadings& readings, std::string_view text, SubtitleFormat format,
                    const std::filesystem::path& name, const ConversionSettings& settings,
                    const SubtitleOptions& options)
      : readings_(readings),
        lines_(LinesOf(text)),
        format_(format),
        name_(name),
        settings_(settings),
        options_(options) {
    settings_.outputFormat = OutputFormat::rb_output_py_only;
    settings_.wrapWidth = 0;
    const auto withEnd = std::find_if(lines_.begin(), lines_.end(),
                                      [](const Line& line) { return !line.end.empty(); });
    if (withEnd != lines_.end()) lineEnd_ = withEnd->end;
    out_.reserve(text.size() * 3);
  }

  std::string Run() {
    if (format_ == SubtitleFormat::Vtt) {
      if (lines_.empty() || !IsVttSignature(lines_.front().text))
        Fail(0, "a WebVTT file begins with the line WEBVTT");
      // The header: the signature line and any lines up to the first blank one.
      while (next_ < lines_.size() && !IsBlank(lines_[next_].text)) Copy();
    }
    while (next_ < lines_.size()) {
      if (IsBlank(lines_[next_].text)) {
        Copy();
      } else if (format_ == SubtitleFormat::Vtt && IsVttOtherBlock(lines_[next_].text)) {
        while (next_ < lines_.size() && !IsBlank(lines_[next_].text)) Copy();
      } else {
        Cue();
      }
    }
    return std::move(out_);
  }

 private:
  [[noreturn]] void Fail(std::size_t index, const std::string& what) const {
    throw Error(
        "Subtitle file \"" + name_.string() + "\", line " + std::to_string(index + 1) + ": " + what,
        name_);
  }

  void Copy() {
    const Line& line = lines_[next_++];
    out_.append(line.text);
    out_.append(line.end);
  }

  std::string_view TimingExample() const {
    return format_ == SubtitleFormat::Srt ? "00:00:01,000 --> 00:00:04,000"
                                          : "00:00:01.000 --> 00:00:04.000";
  }

  void Cue() {
    const std::string_view first = lines_[next_].text;
    if (!HasArrow(first)) {
      if (format_ == SubtitleFormat::Srt && !IsCueNumber(first))
        Fail(next_,
             "expected a cue number or a timing line (" + std::string(TimingExample()) + ")");
      // The cue's number (SRT) or identifier (WebVTT) goes before its timing line.
      Copy();
      if (next_ == lines_.size() || !HasArrow(lines_[next_].text))
        Fail(std::min(next_, lines_.size() - 1),
             "expected the cue's timing line (" + std::string(TimingExample()) + ")");
    }
    if (!IsTimingLine(lines_[next_].text, format_))
      Fail(next_, "the timing line is damaged; expected " + std::string(TimingExample()));
    Copy();
    while (next_ < lines_.size() && !IsBlank(lines_[next_].text)) TextLine();
  }

  void TextLine() {
    const Line& line = lines_[next_++];
    if (format_ == SubtitleFormat::Srt) {
      LineAbove(StripSrtMarkup(line.text), false, line);
    } else {
      const std::vector<CueTextItem> items = SplitVttCueText(line.text);
      const std::string plain = PlainTextOf(items);
      if (options_.vttReadings == VttReadings::LineAbove) {
        LineAbove(plain, true, line);
      } else {
        out_ += VttLineWithRuby(items, RubyLineOf(readings_, plain, TextForm::Unicode, settings_));
        out_.append(line.end);
        return;
      }
    }
    out_.append(line.text);
    out_.append(line.end);
  }

  // The pinyin line over a text line, when the text has anything to read.
  void LineAbove(const std::string& plain, bool escape, const Line& line) {
    const auto characters = ReadingsOfLine(readings_, plain, TextForm::Unicode, settings_);
    if (std::all_of(characters.begin(), characters.end(), IsNotFoundReading)) return;
    Separator separator = kStartSeparator;
    AnnotateLine(readings_, plain, TextForm::Unicode, settings_, separator, annotated_);
    std::string pinyin(TrimmedBlanks(annotated_.lines[0]));
    out_ += escape ? VttEscaped(pinyin) : pinyin;
    out_.append(line.end.empty() ? lineEnd_ : line.end);
  }

  LineReadings& readings_;
  std::vector<Line> lines_;
  SubtitleFormat format_;
  const std::filesystem::path& name_;
  ConversionSettings settings_;
  const SubtitleOptions& options_;
  std::string_view lineEnd_ = "\n";
  std::size_t next_ = 0;
  std::string out_;
  AnnotatedLine annotated_;
};

}  // namespace

std::optional<SubtitleFormat> DetectSubtitleFormat(const std::filesystem::path& path,
                                                   std::string_view bytes) {
  return FormatOfText(path, Decode(bytes, EncodingChoice::Auto).text);
}

std::optional<SubtitleFormat> DetectSubtitleFile(const std::filesystem::path& path,
                                                 EncodingChoice choice) {
  // The format shows in the first lines: a command line asks this of every source it converts,
  // so a corpus of gigabytes is not read twice for it.
  constexpr std::size_t kStartBytes = 64 * 1024;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FileError(errno, path);
  std::string start(kStartBytes, '\0');
  in.read(start.data(), static_cast<std::streamsize>(start.size()));
  if (in.bad()) throw FileError(errno, path);
  start.resize(static_cast<std::size_t>(in.gcount()));
  // Whole lines only, so that the cut cannot change how the start decodes.
  if (start.size() == kStartBytes) {
    const std::size_t lastLineEnd = start.rfind('\n');
    if (lastLineEnd != std::string::npos) start.resize(lastLineEnd + 1);
  }
  return FormatOfText(path, Decode(start, choice).text);
}

std::string AnnotateSubtitleText(LineReadings& readings, std::string_view textUtf8,
                                 SubtitleFormat format, const std::filesystem::path& name,
                                 const ConversionSettings& settings,
                                 const SubtitleOptions& options) {
  // A byte-order mark stays where it is, before the header the format begins with.
  const bool mark = textUtf8.substr(0, kUtf8Bom.size()) == kUtf8Bom;
  if (mark) textUtf8.remove_prefix(kUtf8Bom.size());
  return std::string(mark ? kUtf8Bom : std::string_view()) +
         SubtitleAnnotator(readings, textUtf8, format, name, settings, options).Run();
}

SubtitleFormat ConvertSubtitles(LineReadings& readings, const std::filesystem::path& source,
                                const std::filesystem::path& target,
                                const ConversionSettings& settings,
                                const SubtitleOptions& options) {
  const DecodedSubtitles decoded = Decode(ReadWholeFile(source), options.encoding);
  const std::optional<SubtitleFormat> format = FormatOfText(source, decoded.text);
  if (!format)
    throw Error("Subtitle file \"" + source.string() +
                    "\", line 1: neither SRT (a cue number and a timing line) nor WebVTT (the "
                    "line WEBVTT)",
                source);
  const std::string annotated =
      AnnotateSubtitleText(readings, decoded.text, *format, source, settings, options);
  TargetReplacement replacement;
  replacement.Open(target);
  if (decoded.byteOrderMark) replacement.Write(kUtf8Bom);
  replacement.Write(annotated);
  replacement.Commit();
  return *format;
}

}  // namespace tolvane
