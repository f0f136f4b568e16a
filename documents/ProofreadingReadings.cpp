#include "documents/ProofreadingReadings.h"

#include <algorithm>

#include "platform/UnicodeText.h"
#include "reading/orthography/SyllableSpelling.h"

namespace tolvane {

std::vector<std::string> ReadingsToChooseFrom(LineReadings& readings, std::string_view character) {
  std::vector<std::string> out;
  const auto add = [&](std::string_view syllable) {
    if (IsNumberedSyllable(syllable) && std::find(out.begin(), out.end(), syllable) == out.end())
      out.emplace_back(syllable);
  };
  if (character.empty()) return out;
  const char32_t cp = unicode::CodePointAt(character, 0, unicode::CharLengthAt(character, 0));
  const PhraseData& phrases = readings.Data().ContextData();
  if (const std::optional<SyllableId> id = phrases.DefaultReading(cp))
    if (*id < phrases.SyllableCount()) add(phrases.Syllable(*id));
  // Every reading of the tables, numbered (a user's reading that is no numbered syllable is left
  // out).
  ConversionSettings all;
  all.polyphone = PolyphonePolicy::AllReadings;
  all.toneStyle = ToneStyle::Numbered;
  const std::string_view list = readings.Classic(all).ReadingOfCodePoint(cp).display;
  std::vector<std::string_view> items;
  for (std::size_t begin = 0; begin <= list.size();) {
    const std::size_t end = std::min(list.find('/', begin), list.size());
    items.push_back(list.substr(begin, end - begin));
    begin = end + 1;
  }
  // The list is stored last reading first; the tables' order is the usual one first.
  for (auto item = items.rbegin(); item != items.rend(); ++item) add(*item);
  return out;
}

}  // namespace tolvane
