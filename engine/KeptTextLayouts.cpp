#include "engine/KeptTextLayouts.h"

#include <unicode/uchar.h>

#include <algorithm>

#include "engine/CharacterKinds.h"
#include "engine/CharacterReadings.h"

namespace tolvane {
namespace {

template <TextForm Form>
void AlignedLines(LineReadings& readings, std::string_view piece,
                  const ConversionSettings& settings, LinePosition& position, AnnotatedLine* out) {
  // Marked readings are measured by their letters (the width reading), as a terminal shows a
  // letter with a tone mark in one column.
  const bool marked = settings.toneStyle == ToneStyle::Marked;
  std::size_t pinyin = position.pinyinColumns;
  std::size_t written = position.pinyinWritten;
  std::size_t characters = position.characterColumns;
  bool afterReading = position.afterReading;
  ForEachCharacter<Form>(readings, piece, settings, [&](const CharacterReading& c) {
    const bool read = !IsNotFoundReading(c.reading);
    const std::size_t start = std::max(pinyin + (read && afterReading ? 1 : 0), characters);
    if (read) {
      if (out != nullptr) {
        out->pinyin.AppendSpaces(start - written);
        out->pinyin.Append(c.reading);
      }
      pinyin = start + (marked ? c.widthColumns : c.readingColumns);
      written = pinyin;
    } else {
      pinyin = start + c.characterColumns;
    }
    if (out != nullptr) {
      out->characters.AppendSpaces(start - characters);
      out->characters.Append(c.character);
    }
    characters = start + c.characterColumns;
    afterReading = read;
  });
  position.pinyinColumns = pinyin;
  position.pinyinWritten = written;
  position.characterColumns = characters;
  position.afterReading = afterReading;
}

// A character without a reading that is a word of its own in the readings-only line: a letter or
// digit, or a sign that ends the run before it ("3.5%").
bool IsUnreadWord(char32_t cp, bool afterRun) {
  return u_isalnum(static_cast<UChar32>(cp)) ||
         (afterRun && (IsRunSuffix(cp) || IsRunCharacter(cp)));
}

template <TextForm Form>
void ReadingsOnly(LineReadings& readings, std::string_view piece,
                  const ConversionSettings& settings, LinePosition& position, AnnotatedLine* out) {
  bool afterReading = position.afterReading;
  bool afterRun = position.afterRun;
  ForEachCharacter<Form>(readings, piece, settings, [&](const CharacterReading& c) {
    const bool read = !IsNotFoundReading(c.reading);
    const bool word = !read && IsUnreadWord(c.codePoint, afterRun);
    if (out != nullptr) {
      if ((read && (afterReading || afterRun)) || (word && afterReading)) out->pinyin.Push(' ');
      out->pinyin.Append(read ? c.reading : c.character);
    }
    afterReading = read;
    afterRun = word;
  });
  position.afterReading = afterReading;
  position.afterRun = afterRun;
}

}  // namespace

void AppendKeptAlignedLines(LineReadings& readings, std::string_view piece, TextForm form,
                            const ConversionSettings& settings, LinePosition& position,
                            AnnotatedLine* out) {
  if (form == TextForm::Cp936) {
    AlignedLines<TextForm::Cp936>(readings, piece, settings, position, out);
  } else {
    AlignedLines<TextForm::Unicode>(readings, piece, settings, position, out);
  }
}

void AppendKeptReadingsOnly(LineReadings& readings, std::string_view piece, TextForm form,
                            const ConversionSettings& settings, LinePosition& position,
                            AnnotatedLine* out) {
  if (form == TextForm::Cp936) {
    ReadingsOnly<TextForm::Cp936>(readings, piece, settings, position, out);
  } else {
    ReadingsOnly<TextForm::Unicode>(readings, piece, settings, position, out);
  }
}

}  // namespace tolvane
