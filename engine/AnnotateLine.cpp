#include "engine/AnnotateLine.h"

#include "dictionary/Lookup.h"
#include "platform/Cp936.h"

namespace tolvane {
namespace {

bool IsTwoLineLayout(OutputFormat format) {
  return format == OutputFormat::rb_output_py || format == OutputFormat::rb_output_han;
}

void AppendSpaces(std::string& out, long long n) {
  if (n > 0) out.append(static_cast<std::size_t>(n), ' ');
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
// to the column where its reading starts; the measure is N (width readings) in the Marked style,
// where marked readings are longer in bytes than in characters.
void BuildAlignedLines(std::string_view line, const ConversionSettings& settings,
                       Separator& separator, AnnotatedLine& out) {
  const bool marked = settings.toneStyle == ToneStyle::Marked;
  ForEachCharacter(line, [&](std::string_view character) {
    const std::string_view reading = LookupReading(character, settings);
    const auto w = static_cast<long long>(marked ? out.widths.size() : out.pinyin.size());
    const auto h = static_cast<long long>(out.characters.size());
    if (marked) {
      out.widths += separator;
      out.widths += LookupNumberedReading(character, settings);
    }
    if (reading == kNotFoundReading) {
      separator.clear();
    } else {
      separator.assign(1, ' ');
    }
    out.pinyin += separator;
    out.pinyin += reading;
    AppendSpaces(out.characters, w - h);
    out.characters += character;
  });
}

// P of the two-line layouts in the preview: every reading behind one space.
void BuildPreviewPinyin(std::string_view line, const ConversionSettings& settings,
                        AnnotatedLine& out) {
  ForEachCharacter(line, [&](std::string_view character) {
    out.pinyin += ' ';
    out.pinyin += LookupReading(character, settings);
  });
}

void BuildInline(std::string_view line, const ConversionSettings& settings, AnnotatedLine& out) {
  const bool readingFirst = settings.outputFormat == OutputFormat::rb_output_pyhan;
  ForEachCharacter(line, [&](std::string_view character) {
    const std::string_view reading = LookupReading(character, settings);
    if (reading == kNotFoundReading) {
      out.pinyin += character;
      return;
    }
    if (!readingFirst) out.pinyin += character;
    out.pinyin += '(';
    out.pinyin += reading;
    out.pinyin += ')';
    if (readingFirst) out.pinyin += character;
  });
}

void BuildReadingsOnly(std::string_view line, const ConversionSettings& settings,
                       const Separator& separator, AnnotatedLine& out) {
  ForEachCharacter(line, [&](std::string_view character) {
    out.pinyin += separator;
    out.pinyin += LookupReading(character, settings);
  });
}

void DropFirstByte(std::string& s) {
  if (!s.empty()) s.erase(0, 1);
}

void Clear(AnnotatedLine& out) {
  out.pinyin.clear();
  out.characters.clear();
  out.widths.clear();
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
    DropFirstByte(out.pinyin);
    SetTwoLines(out.pinyin, settings.align ? std::string_view(out.characters) : line, format, out);
    return;
  }
  if (format == OutputFormat::rb_output_py_only) {
    BuildReadingsOnly(line, settings, separator, out);
    DropFirstByte(out.pinyin);
  } else {
    BuildInline(line, settings, out);
  }
  out.lines[0] = out.pinyin;
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
    DropFirstByte(out.pinyin);
    SetTwoLines(out.pinyin, text, settings.outputFormat, out);
    return out.Lines();
  }
  Separator separator = kStartSeparator;
  AnnotateLine(text, settings, separator, out);
  return out.Lines();
}

}  // namespace tolvane
