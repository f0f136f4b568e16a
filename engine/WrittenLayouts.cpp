#include "engine/WrittenLayouts.h"

#include <algorithm>

#include "platform/DisplayColumns.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

using Kind = WrittenPart::Kind;

// The columns a character of the text takes: its bytes in code page 936 text, its display
// columns in Unicode text.
std::size_t TextColumns(std::string_view text, TextForm form) {
  if (form == TextForm::Cp936) return text.size();
  std::size_t columns = 0;
  unicode::ForEachCodePoint(text,
                            [&](std::string_view, char32_t cp) { columns += DisplayColumns(cp); });
  return columns;
}

// The columns of written pinyin: one per letter, as a terminal shows a letter with a tone mark.
// In code page 936 text the marked letters take two bytes each, so letters are counted, not bytes.
std::size_t WrittenColumns(std::string_view written, TextForm form) {
  if (form == TextForm::Unicode) {
    std::size_t columns = 0;
    unicode::ForEachCodePoint(written, [&](std::string_view, char32_t) { ++columns; });
    return columns;
  }
  std::size_t columns = 0;
  for (std::size_t i = 0; i < written.size(); ++columns)
    i += static_cast<unsigned char>(written[i]) >= 0x81 && i + 1 < written.size() ? 2 : 1;
  return columns;
}

}  // namespace

std::string_view CharactersOf(std::span<const std::string_view> characters, std::size_t begin,
                              std::size_t end) {
  if (begin >= end) return {};
  const char* first = characters[begin].data();
  const char* last = characters[end - 1].data() + characters[end - 1].size();
  return {first, static_cast<std::size_t>(last - first)};
}

void AppendWrittenLine(LineReadings& readings, std::string_view piece, TextForm form,
                       const ConversionSettings& settings, LinePosition& position,
                       AnnotatedLine* out) {
  OrthographicLine& line = readings.Orthography(settings);
  const std::string_view written = line.Spell(piece, form, position.sentenceStart);
  position.sentenceStart = line.SentenceStartsAfter();
  const bool space = position.pinyinWritten > 0 && !line.Parts().empty() &&
                     line.Parts().front().kind != Kind::Mark;
  if (out != nullptr) {
    if (space) out->pinyin.Push(' ');
    out->pinyin.Append(written);
  }
  position.pinyinWritten += written.size() + (space ? 1 : 0);
}

void AppendWrittenAlignedLines(LineReadings& readings, std::string_view piece, TextForm form,
                               const ConversionSettings& settings, LinePosition& position,
                               AnnotatedLine* out) {
  OrthographicLine& line = readings.Orthography(settings);
  const std::string_view written = line.Spell(piece, form, position.sentenceStart);
  position.sentenceStart = line.SentenceStartsAfter();
  const std::span<const std::string_view> characters = line.Characters();
  std::size_t pinyin = position.pinyinColumns;
  std::size_t pinyinWritten = position.pinyinWritten;
  std::size_t columns = position.characterColumns;
  // Characters that write nothing (spaces, the second half of a doubled mark) stand in H alone.
  const auto standAlone = [&](std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) {
      if (out != nullptr) out->characters.Append(characters[i]);
      columns += TextColumns(characters[i], form);
    }
  };
  std::size_t next = 0;
  bool firstPart = true;
  for (const WrittenPart& part : line.Parts()) {
    standAlone(next, part.begin);
    next = part.end;
    const std::string_view text = WrittenTextOf(written, part);
    const std::string_view own = CharactersOf(characters, part.begin, part.end);
    // A piece of a long line spells from its own start: its first word keeps the space from the
    // word that ended the piece before.
    const bool space =
        part.spaceBefore || (firstPart && pinyinWritten > 0 && part.kind != Kind::Mark);
    firstPart = false;
    const std::size_t textColumns =
        part.kind == Kind::Text ? TextColumns(text, form) : WrittenColumns(text, form);
    if (part.kind == Kind::Mark) {
      // The Latin mark leans on its word in P; the text's own mark goes on in H.
      const std::size_t start = pinyin + (space ? 1 : 0);
      if (out != nullptr) {
        out->pinyin.AppendSpaces(start - pinyinWritten);
        out->pinyin.Append(text);
        out->characters.Append(own);
      }
      pinyin = start + textColumns;
      if (!text.empty()) pinyinWritten = pinyin;
      columns += TextColumns(own, form);
      continue;
    }
    const std::size_t start = std::max(pinyin + (space ? 1 : 0), columns);
    if (out != nullptr) {
      out->pinyin.AppendSpaces(start - pinyinWritten);
      out->pinyin.Append(text);
      out->characters.AppendSpaces(start - columns);
      out->characters.Append(own);
    }
    pinyin = start + textColumns;
    pinyinWritten = pinyin;
    columns = start + TextColumns(own, form);
  }
  standAlone(next, characters.size());
  position.pinyinColumns = pinyin;
  position.pinyinWritten = pinyinWritten;
  position.characterColumns = columns;
}

void AppendWrittenInline(LineReadings& readings, std::string_view piece, TextForm form,
                         const ConversionSettings& settings, LinePosition& position,
                         AnnotatedLine& out) {
  OrthographicLine& line = readings.Orthography(settings);
  const std::string_view written = line.Spell(piece, form, position.sentenceStart);
  position.sentenceStart = line.SentenceStartsAfter();
  const std::span<const std::string_view> characters = line.Characters();
  const bool readingFirst = settings.outputFormat == OutputFormat::rb_output_pyhan;
  std::size_t next = 0;
  for (const WrittenPart& part : line.Parts()) {
    if (part.kind != Kind::Word) continue;
    out.pinyin.Append(CharactersOf(characters, next, part.begin));
    const std::string_view own = CharactersOf(characters, part.begin, part.end);
    if (!readingFirst) out.pinyin.Append(own);
    out.pinyin.Push('(');
    out.pinyin.Append(WrittenTextOf(written, part));
    out.pinyin.Push(')');
    if (readingFirst) out.pinyin.Append(own);
    next = part.end;
  }
  out.pinyin.Append(CharactersOf(characters, next, characters.size()));
}

}  // namespace tolvane
