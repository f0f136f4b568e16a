#include "documents/ProofreadingHandout.h"

#include <algorithm>
#include <array>
#include <optional>

#include "platform/UnicodeText.h"
#include "reading/orthography/SyllableSpelling.h"

namespace tolvane {
namespace {

bool HasChoice(std::span<const std::string> chosen) {
  return std::any_of(chosen.begin(), chosen.end(), [](const std::string& s) { return !s.empty(); });
}

// Whether written pinyin begins with a capital: a Latin capital or a capital vowel with a tone
// mark.
bool BeginsWithCapital(std::string_view reading) {
  if (reading.empty()) return false;
  if (reading[0] >= 'A' && reading[0] <= 'Z') return true;
  static constexpr std::array<std::string_view, 12> kCapitals = {"Ā", "Á", "Ǎ", "À", "Ē", "É",
                                                                 "Ě", "È", "Ō", "Ó", "Ǒ", "Ò"};
  return std::any_of(kCapitals.begin(), kCapitals.end(),
                     [&](std::string_view capital) { return reading.starts_with(capital); });
}

// The numbered syllable reading by context gives each code point of a line ("" for none).
std::vector<std::string> ReadSyllables(LineReadings& readings, std::string_view line,
                                       const ConversionSettings& settings) {
  ConversionSettings numbered = settings;
  numbered.toneStyle = ToneStyle::Numbered;
  numbered.orthography = false;
  numbered.wadeGiles = false;
  std::vector<std::string> syllables;
  for (RubyCharacter& unit : RubyLineOf(readings, line, TextForm::Unicode, numbered))
    syllables.push_back(std::move(unit.reading));
  return syllables;
}

}  // namespace

std::vector<PlacedLine> PlacedLinesOf(std::string_view text) {
  std::vector<PlacedLine> lines;
  std::size_t first = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    const std::size_t count = CodePointCount(line);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back({line, first});
    if (end == std::string_view::npos) break;
    first += count + 1;
    text.remove_prefix(end + 1);
  }
  return lines;
}

RubyLine CorrectedRubyLine(LineReadings& readings, std::string_view line,
                           std::span<const std::string> chosen,
                           const ConversionSettings& settings) {
  RubyLine units = RubyLineOf(readings, line, TextForm::Unicode, settings);
  if (!HasChoice(chosen)) return units;
  SyllableSpelling spelling(settings.toneStyle, readings.Data().ToneVowelList());
  std::optional<std::vector<std::string>> read;  // for written words, when needed
  std::size_t at = 0;
  for (RubyCharacter& unit : units) {
    const std::size_t count = CodePointCount(unit.text);
    const std::span<const std::string> own =
        at < chosen.size() ? chosen.subspan(at, std::min(count, chosen.size() - at))
                           : std::span<const std::string>();
    if (HasChoice(own)) {
      if (count == 1) {
        unit.reading = spelling.Spell(own[0]);
      } else {
        if (!read) read = ReadSyllables(readings, line, settings);
        std::string word;
        for (std::size_t k = 0; k < count; ++k) {
          const std::string& syllable =
              k < own.size() && !own[k].empty()
                  ? own[k]
                  : (at + k < read->size() ? (*read)[at + k] : std::string());
          if (syllable.empty()) continue;
          const bool numbered = IsNumberedSyllable(syllable);
          if (!word.empty() && numbered && NeedsApostrophe(syllable)) word += '\'';
          word += numbered ? spelling.Spell(syllable) : syllable;
        }
        unit.reading = BeginsWithCapital(unit.reading) ? Capitalised(word) : word;
      }
    }
    at += count;
  }
  return units;
}

Handout ProofreadHandout(LineReadings& readings, const ProofreadingText& text,
                         const ConversionSettings& settings, const PageDesign& design) {
  const std::vector<std::string> chosen = text.ChosenSyllables();
  const std::span<const std::string> all(chosen);
  std::vector<RubyLine> lines;
  for (const PlacedLine& line : PlacedLinesOf(text.Text())) {
    const std::size_t count = CodePointCount(line.text);
    lines.push_back(CorrectedRubyLine(
        readings, line.text,
        all.subspan(std::min(line.firstCodePoint, all.size()),
                    std::min(count, all.size() - std::min(line.firstCodePoint, all.size()))),
        settings));
  }
  RubyLine fixedTitle;
  if (design.titleSource == TitleSource::Fixed && !design.titleText.empty())
    fixedTitle = RubyLineOf(readings, design.titleText, TextForm::Unicode, settings);
  return ComposeHandout(std::move(lines), UsualReadingOf(readings, settings), design,
                        std::move(fixedTitle));
}

}  // namespace tolvane
