#include "engine/AnnotateLine.h"

#include "engine/CharacterReadings.h"
#include "engine/KeptTextLayouts.h"
#include "engine/WrittenLayouts.h"

namespace tolvane {
namespace {

bool IsTwoLineLayout(OutputFormat format) {
  return format == OutputFormat::rb_output_py || format == OutputFormat::rb_output_han;
}

// Pinyin line P and character line H of the two-line layouts. Each character's reading is
// preceded by the separator left by the character before it, and each character is moved right
// to the column where its reading starts. In the Marked style the column is measured on the width
// line N (the width readings with the same separators), since marked readings take fewer columns
// than their letters and glyphs take bytes; only N's length is ever used, so only its length is
// kept. Columns are counted apart from bytes: in code page 936 text they are the same, in Unicode
// text a character's bytes say nothing of its width.
template <TextForm Form, bool Emit = true>
void BuildAlignedLines(LineReadings& readings, std::string_view line,
                       const ConversionSettings& settings, Separator& separator,
                       LinePosition& position, AnnotatedLine& out) {
  const bool marked = settings.toneStyle == ToneStyle::Marked;
  bool space = !separator.empty();
  std::size_t widthColumns = position.widthColumns;
  std::size_t pinyinColumns = position.pinyinColumns;
  std::size_t characterColumns = position.characterColumns;
  ForEachCharacter<Form>(readings, line, settings, [&](const CharacterReading& c) {
    const std::size_t w = marked ? widthColumns : pinyinColumns;
    const std::size_t h = characterColumns;
    widthColumns += (space ? 1 : 0) + c.widthColumns;
    space = !IsNotFoundReading(c.reading);
    if constexpr (Emit) {
      if (space) out.pinyin.Push(' ');
      out.pinyin.Append(c.reading);
    }
    pinyinColumns += (space ? 1 : 0) + c.readingColumns;
    if (w > h) {
      if constexpr (Emit) out.characters.AppendSpaces(w - h);
      characterColumns = w;
    }
    if constexpr (Emit) out.characters.Append(c.character);
    characterColumns += c.characterColumns;
  });
  separator.assign(space ? 1 : 0, ' ');
  position.widthColumns = widthColumns;
  position.pinyinColumns = pinyinColumns;
  position.characterColumns = characterColumns;
}

// P of the two-line layouts in the preview: every reading behind one space.
template <TextForm Form>
void BuildPreviewPinyin(LineReadings& readings, std::string_view line,
                        const ConversionSettings& settings, AnnotatedLine& out) {
  ForEachCharacter<Form>(readings, line, settings, [&](const CharacterReading& c) {
    out.pinyin.Push(' ');
    out.pinyin.Append(c.reading);
  });
}

template <TextForm Form>
void BuildInline(LineReadings& readings, std::string_view line, const ConversionSettings& settings,
                 AnnotatedLine& out) {
  const bool readingFirst = settings.outputFormat == OutputFormat::rb_output_pyhan;
  ForEachCharacter<Form>(readings, line, settings, [&](const CharacterReading& c) {
    if (IsNotFoundReading(c.reading)) {
      out.pinyin.Append(c.character);
      return;
    }
    if (!readingFirst) out.pinyin.Append(c.character);
    out.pinyin.Push('(');
    out.pinyin.Append(c.reading);
    out.pinyin.Push(')');
    if (readingFirst) out.pinyin.Append(c.character);
  });
}

template <TextForm Form>
void BuildReadingsOnly(LineReadings& readings, std::string_view line,
                       const ConversionSettings& settings, const Separator& separator,
                       AnnotatedLine& out) {
  ForEachCharacter<Form>(readings, line, settings, [&](const CharacterReading& c) {
    out.pinyin.Append(separator);
    out.pinyin.Append(c.reading);
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

// The first byte of P (the separator before the first reading) stands nowhere: only a line's
// first piece drops it.
template <TextForm Form>
void AnnotateLineIn(LineReadings& readings, std::string_view line,
                    const ConversionSettings& settings, Separator& separator,
                    LinePosition& position, AnnotatedLine& out) {
  Clear(out);
  const OutputFormat format = settings.outputFormat;
  const bool lineStart = position.lineStart;
  position.lineStart = false;
  if (settings.orthography) {
    // Written pinyin spells a line as a whole: no separator carried from line to line.
    if (IsTwoLineLayout(format)) {
      AppendWrittenAlignedLines(readings, line, Form, settings, position, &out);
      SetTwoLines(out.pinyin.view(), settings.align ? out.characters.view() : line, format, out);
      return;
    }
    if (format == OutputFormat::rb_output_py_only) {
      AppendWrittenLine(readings, line, Form, settings, position, &out);
    } else {
      AppendWrittenInline(readings, line, Form, settings, position, out);
    }
    out.lines[0] = out.pinyin.view();
    out.count = 1;
    return;
  }
  if (KeepsText(settings) && IsTwoLineLayout(format)) {
    AppendKeptAlignedLines(readings, line, Form, settings, position, &out);
    SetTwoLines(out.pinyin.view(), settings.align ? out.characters.view() : line, format, out);
    return;
  }
  if (KeepsText(settings) && format == OutputFormat::rb_output_py_only) {
    AppendKeptReadingsOnly(readings, line, Form, settings, position, &out);
    out.lines[0] = out.pinyin.view();
    out.count = 1;
    return;
  }
  if (IsTwoLineLayout(format)) {
    BuildAlignedLines<Form>(readings, line, settings, separator, position, out);
    if (lineStart) out.pinyin.DropFirstByte();
    SetTwoLines(out.pinyin.view(), settings.align ? out.characters.view() : line, format, out);
    return;
  }
  if (format == OutputFormat::rb_output_py_only) {
    BuildReadingsOnly<Form>(readings, line, settings, separator, out);
    if (lineStart) out.pinyin.DropFirstByte();
  } else {
    BuildInline<Form>(readings, line, settings, out);
  }
  out.lines[0] = out.pinyin.view();
  out.count = 1;
}

template <TextForm Form>
void AnnotateLineIn(LineReadings& readings, std::string_view line,
                    const ConversionSettings& settings, Separator& separator, AnnotatedLine& out) {
  LinePosition position;
  AnnotateLineIn<Form>(readings, line, settings, separator, position, out);
}

template <TextForm Form>
void PreviewLinesIn(LineReadings& readings, std::string_view text,
                    const ConversionSettings& settings, AnnotatedLine& out) {
  if (settings.orthography && IsTwoLineLayout(settings.outputFormat)) {
    // The preview's font is proportional: the written line over the text, not set in columns.
    LinePosition position;
    AppendWrittenLine(readings, text, Form, settings, position, &out);
    SetTwoLines(out.pinyin.view(), text, settings.outputFormat, out);
    return;
  }
  if (IsTwoLineLayout(settings.outputFormat)) {
    BuildPreviewPinyin<Form>(readings, text, settings, out);
    out.pinyin.DropFirstByte();
    SetTwoLines(out.pinyin.view(), text, settings.outputFormat, out);
    return;
  }
  Separator separator = kStartSeparator;
  AnnotateLineIn<Form>(readings, text, settings, separator, out);
}

}  // namespace

bool PiecesCarryPosition(const ConversionSettings& settings) {
  // Written pinyin carries where a sentence begins.
  return IsTwoLineLayout(settings.outputFormat) || settings.orthography ||
         (KeepsText(settings) && settings.outputFormat == OutputFormat::rb_output_py_only);
}

std::string FillSpace(long long n) {
  return n > 0 ? std::string(static_cast<std::size_t>(n), ' ') : std::string();
}

void AnnotateLine(LineReadings& readings, std::string_view line, TextForm form,
                  const ConversionSettings& settings, Separator& separator, AnnotatedLine& out) {
  if (form == TextForm::Cp936) {
    AnnotateLineIn<TextForm::Cp936>(readings, line, settings, separator, out);
  } else {
    AnnotateLineIn<TextForm::Unicode>(readings, line, settings, separator, out);
  }
}

void AnnotatePiece(LineReadings& readings, std::string_view piece, TextForm form,
                   const ConversionSettings& settings, Separator& separator, LinePosition& position,
                   AnnotatedLine& out) {
  if (form == TextForm::Cp936) {
    AnnotateLineIn<TextForm::Cp936>(readings, piece, settings, separator, position, out);
  } else {
    AnnotateLineIn<TextForm::Unicode>(readings, piece, settings, separator, position, out);
  }
}

void SkipPiece(LineReadings& readings, std::string_view piece, TextForm form,
               const ConversionSettings& settings, Separator& separator, LinePosition& position) {
  position.lineStart = false;
  if (!PiecesCarryPosition(settings)) return;
  if (settings.orthography) {
    if (IsTwoLineLayout(settings.outputFormat)) {
      AppendWrittenAlignedLines(readings, piece, form, settings, position, nullptr);
    } else {
      AppendWrittenLine(readings, piece, form, settings, position, nullptr);
    }
    return;
  }
  if (KeepsText(settings)) {
    if (IsTwoLineLayout(settings.outputFormat)) {
      AppendKeptAlignedLines(readings, piece, form, settings, position, nullptr);
    } else {
      AppendKeptReadingsOnly(readings, piece, form, settings, position, nullptr);
    }
    return;
  }
  AnnotatedLine unused;
  if (form == TextForm::Cp936) {
    BuildAlignedLines<TextForm::Cp936, false>(readings, piece, settings, separator, position,
                                              unused);
  } else {
    BuildAlignedLines<TextForm::Unicode, false>(readings, piece, settings, separator, position,
                                                unused);
  }
}

std::vector<std::string> AnnotateLine(LineReadings& readings, std::string_view line,
                                      const ConversionSettings& settings, Separator& separator,
                                      TextForm form) {
  AnnotatedLine out;
  AnnotateLine(readings, line, form, settings, separator, out);
  return out.Lines();
}

std::vector<std::string_view> ReadingsOfLine(LineReadings& readings, std::string_view line,
                                             TextForm form, const ConversionSettings& settings) {
  std::vector<std::string_view> result;
  const auto collect = [&](const CharacterReading& c) { result.push_back(c.reading); };
  if (form == TextForm::Cp936) {
    ForEachCharacter<TextForm::Cp936>(readings, line, settings, collect);
  } else {
    ForEachCharacter<TextForm::Unicode>(readings, line, settings, collect);
  }
  return result;
}

std::vector<std::string> PreviewLines(LineReadings& readings, std::string_view text,
                                      const ConversionSettings& settings, TextForm form) {
  AnnotatedLine out;
  if (form == TextForm::Cp936) {
    PreviewLinesIn<TextForm::Cp936>(readings, text, settings, out);
  } else {
    PreviewLinesIn<TextForm::Unicode>(readings, text, settings, out);
  }
  return out.Lines();
}

}  // namespace tolvane
