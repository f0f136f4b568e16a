#include "engine/RubyLine.h"

#include "engine/SourceReader.h"
#include "engine/WrapPass.h"
#include "engine/WrittenLayouts.h"
#include "platform/Cp936.h"
#include "platform/UnicodeText.h"
#include "reading/LineReadings.h"

namespace tolvane {
namespace {

std::string Utf8Of(std::string_view text, TextForm form) {
  if (form == TextForm::Cp936) return cp936::DecodeToUtf8(text);
  std::string out;
  out.reserve(text.size());
  unicode::ForEachCodePoint(text, [&](std::string_view character, char32_t cp) {
    if (unicode::IsRawByte(cp) || cp == unicode::kReplacement) {
      unicode::AppendCodePoint(out, unicode::kReplacement);
    } else {
      out.append(character);
    }
  });
  return out;
}

// Written pinyin: one unit per written word, its characters under its spelling, and every other
// character alone, so that a word is never broken across lines.
RubyLine WrittenRubyLine(LineReadings& readings, std::string_view line, TextForm form,
                         const ConversionSettings& settings) {
  OrthographicLine& spelled = readings.Orthography(settings);
  const std::string_view written = spelled.Spell(line, form);
  const std::span<const std::string_view> characters = spelled.Characters();
  RubyLine out;
  std::size_t next = 0;
  const auto alone = [&](std::size_t end) {
    for (; next < end; ++next) out.push_back({Utf8Of(characters[next], form), std::string()});
  };
  for (const WrittenPart& part : spelled.Parts()) {
    if (part.kind != WrittenPart::Kind::Word) continue;
    alone(part.begin);
    out.push_back({Utf8Of(CharactersOf(characters, part.begin, part.end), form),
                   Utf8Of(WrittenTextOf(written, part), form)});
    next = part.end;
  }
  alone(characters.size());
  return out;
}

}  // namespace

RubyLine RubyLineOf(LineReadings& readings, std::string_view line, TextForm form,
                    const ConversionSettings& settings) {
  if (settings.orthography) return WrittenRubyLine(readings, line, form, settings);
  RubyLine out;
  const auto add = [&](std::string_view character, char32_t, const PositionReading& reading) {
    out.push_back({Utf8Of(character, form), IsNotFoundReading(reading.display)
                                                ? std::string()
                                                : Utf8Of(reading.display, form)});
  };
  if (form == TextForm::Cp936) {
    readings.ForEachReadingOfLine<TextForm::Cp936>(line, settings, add);
  } else {
    readings.ForEachReadingOfLine<TextForm::Unicode>(line, settings, add);
  }
  return out;
}

std::vector<RubyLine> ReadRubyDocument(LineReadings& readings, const std::filesystem::path& source,
                                       const ConversionSettings& settings, EncodingChoice choice) {
  const WrapRule rule = WrapRuleFor(settings);
  const SourceLines lines = ReadSourceLines(
      source, choice, settings.wrapWidth, rule,
      rule == WrapRule::KeepWrittenWords ? WrittenWordsFrom(readings, settings) : WrittenWords());
  std::vector<RubyLine> document;
  document.reserve(lines.lines.size());
  for (std::size_t i = 0; i < lines.lines.size(); ++i)
    document.push_back(RubyLineOf(readings, lines.lines[i], lines.form, settings));
  return document;
}

}  // namespace tolvane
