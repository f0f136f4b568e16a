#include "engine/AnnotateLine.h"

#include "dictionary/Lookup.h"
#include "platform/Cp936.h"

namespace tolvane {
namespace {

bool IsTwoLineLayout(OutputFormat format) {
  return format == OutputFormat::rb_output_py || format == OutputFormat::rb_output_han;
}

// Visits every character of a GB2312 line in order, as a view of its 1 or 2 bytes.
template <typename Visit>
void ForEachCharacter(std::string_view line, Visit&& visit) {
  for (std::size_t pos = 0; pos < line.size();) {
    const std::size_t length = cp936::CharLengthAt(line, pos);
    visit(line.substr(pos, length));
    pos += length;
  }
}

// Pinyin line P and character line H of the two-line layouts. Each character's reading is
// preceded by the separator left by the character before it, and each character is moved right
// to the column where its reading starts. In the Marked style the column is measured on the width
// line N (the width readings with the same separators), since marked readings are longer in bytes
// than in characters; only N's length is ever used, so only its length is kept.
void BuildAlignedLines(std::string_view line, const ConversionSettings& settings,
                       Separator& separator, AnnotatedLine& out) {
  const ReadingResolver& resolver = ResolverFor(settings);
  const bool marked = settings.toneStyle == ToneStyle::Marked;
  bool space = !separator.empty();
  std::size_t widthLength = 0;
  ForEachCharacter(line, [&](std::string_view character) {
    const auto [reading, width] = resolver.Readings(character);
    const std::size_t w = marked ? widthLength : out.pinyin.size();
    const std::size_t h = out.characters.size();
    widthLength += (space ? 1 : 0) + width.size();
    space = reading != kNotFoundReading;
    if (space) out.pinyin.Push(' ');
    out.pinyin.Append(reading);
    if (w > h) out.characters.AppendSpaces(w - h);
    out.characters.Append(character);
  });
  separator.assign(space ? 1 : 0, ' ');
}

// P of the two-line layouts in the preview: every reading behind one space.
void BuildPreviewPinyin(std::string_view line, const ConversionSettings& settings,
                        AnnotatedLine& out) {
  const ReadingResolver& resolver = ResolverFor(settings);
  ForEachCharacter(line, [&](std::string_view character) {
    out.pinyin.Push(' ');
    out.pinyin.Append(resolver.Reading(character));
  });
}

void BuildInline(std::string_view line, const ConversionSettings& settings, AnnotatedLine& out) {
  const ReadingResolver& resolver = ResolverFor(settings);
  const bool readingFirst = settings.outputFormat == OutputFormat::rb_output_pyhan;
  ForEachCharacter(line, [&](std::string_view character) {
    const std::string_view reading = resolver.Reading(character);
    if (reading == kNotFoundReading) {
      out.pinyin.Append(character);
      return;
    }
    if (!readingFirst) out.pinyin.Append(character);
    out.pinyin.Push('(');
    out.pinyin.Append(reading);
    out.pinyin.Push(')');
    if (readingFirst) out.pinyin.Append(character);
  });
}

void BuildReadingsOnly(std::string_view line, const ConversionSettings& settings,
                       const Separator& separator, AnnotatedLine& out) {
  const ReadingResolver& resolver = ResolverFor(settings);
  ForEachCharacter(line, [&](std::string_view character) {
    out.pinyin.Append(separator);
    out.pinyin.Append(resolver.Reading(character));
  });
}

void Clear(AnnotatedLine& out) {
  out.pinyin.clear();
  out.characters.clear();
  out.count = 0;
}

void SetTwoLines(std::string_view pinyin, std::string_view characters, OutputFormat format,
                 AnnotatedLine& out) {
  const bool pinyinFirst = format == OutputFormat::rb_output_py;
  out.lines[0] = pinyinFirst ? pinyin : characters;
  out.lines[1] = pinyinFirst ? characters : pinyin;
  out.count = 2;
}

}  // namespace

std::string FillSpace(long long n) {
  return n > 0 ? std::string(static_cast<std::size_t>(n), ' ') : std::string();
}

void AnnotateLine(std::string_view line, const ConversionSettings& settings, Separator& separator,
                  AnnotatedLine& out) {
  Clear(out);
  const OutputFormat format = settings.outputFormat;
  if (IsTwoLineLayout(format)) {
    BuildAlignedLines(line, settings, separator, out);
    out.pinyin.DropFirstByte();
    SetTwoLines(out.pinyin.view(), settings.align ? out.characters.view() : line, format, out);
    return;
  }
  if (format == OutputFormat::rb_output_py_only) {
    BuildReadingsOnly(line, settings, separator, out);
    out.pinyin.DropFirstByte();
  } else {
    BuildInline(line, settings, out);
  }
  out.lines[0] = out.pinyin.view();
  out.count = 1;
}

std::vector<std::string> AnnotateLine(std::string_view line, const ConversionSettings& settings,
                                      Separator& separator) {
  AnnotatedLine out;
  AnnotateLine(line, settings, separator, out);
  return out.Lines();
}

std::vector<std::string> PreviewLines(std::string_view text, const ConversionSettings& settings) {
  AnnotatedLine out;
  if (IsTwoLineLayout(settings.outputFormat)) {
    BuildPreviewPinyin(text, settings, out);
    out.pinyin.DropFirstByte();
    SetTwoLines(out.pinyin.view(), text, settings.outputFormat, out);
    return out.Lines();
  }
  Separator separator = kStartSeparator;
  AnnotateLine(text, settings, separator, out);
  return out.Lines();
}

}  // namespace tolvane
