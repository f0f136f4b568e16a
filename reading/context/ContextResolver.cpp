#include "reading/context/ContextResolver.h"

#include <array>

#include "platform/Cp936.h"
#include "platform/UnicodeText.h"
#include "reading/shared/ToneMarks.h"

namespace tolvane {
namespace {

std::string WithoutToneDigit(std::string_view syllable) {
  if (!syllable.empty() && syllable.back() >= '1' && syllable.back() <= '5')
    syllable.remove_suffix(1);
  return std::string(syllable);
}

std::string UnicodeOf(std::string_view gb) {
  std::string text;
  cp936::AppendAsUnicodeText(gb, text);
  return text;
}

}  // namespace

std::unordered_set<std::string> KnownSyllables(const PhraseData& data,
                                               const std::vector<std::string_view>& readingLists) {
  std::unordered_set<std::string> syllables;
  for (const std::string_view list : readingLists) {
    for (std::size_t begin = 0; begin <= list.size();) {
      std::size_t end = list.find('/', begin);
      if (end == std::string_view::npos) end = list.size();
      syllables.insert(WithoutToneDigit(list.substr(begin, end - begin)));
      begin = end + 1;
    }
  }
  for (std::size_t id = 0; id < data.SyllableCount(); ++id)
    syllables.insert(WithoutToneDigit(data.Syllable(static_cast<SyllableId>(id))));
  return syllables;
}

ContextResolver::ContextResolver(const PhraseData& data, const CustomDictionary& dictionary,
                                 const ToneVowels& toneVowels,
                                 const std::unordered_set<std::string>& syllables,
                                 const ConversionSettings& settings, const PolyphoneModel* model,
                                 const UserWordList* ownWords)
    : settings_(settings),
      data_(data),
      model_(model),
      dictionary_(dictionary),
      toneVowels_(toneVowels),
      words_(ownWords != nullptr
                 ? std::make_unique<UserWords>(dictionary_, syllables, *ownWords, data_)
                 : std::make_unique<UserWords>(dictionary_, syllables)),
      syllables_(data_.SyllableCount()) {}

void ContextResolver::ReadBases(std::span<const char32_t> codePoints,
                                std::vector<ReadingBasis>& bases) const {
  const SpokenStyle style{settings_.neutralTone == NeutralTone::Spoken, settings_.erhua,
                          settings_.sandhi};
  std::vector<ContextReading> readings;
  ReadByContext(codePoints, data_, *words_, dictionary_, style, readings, model_, nullptr, &bases);
}

const ContextResolver::Rendered& ContextResolver::RenderSyllable(SyllableId id) const {
  Rendered& rendered = syllables_[id];
  if (rendered.done) return rendered;
  const std::string& syllable = data_.Syllable(id);
  switch (settings_.toneStyle) {
    case ToneStyle::Numbered:
      rendered.display = syllable;
      rendered.width = syllable;
      break;
    case ToneStyle::Marked:
      // Raises the index error when a tone glyph is missing; nothing is remembered then.
      rendered.display = MarkReading(syllable, toneVowels_);
      rendered.width = StripToneDigits(syllable);
      break;
    case ToneStyle::Plain:
      rendered.display = WithoutToneDigit(syllable);
      rendered.width = syllable;
      break;
  }
  rendered.displayUnicode = UnicodeOf(rendered.display);
  rendered.done = true;
  return rendered;
}

const ContextResolver::Rendered& ContextResolver::RenderUser(std::string_view reading) const {
  Rendered& rendered = user_[reading.data()];
  if (!rendered.done) {
    rendered.display = std::string(reading);
    rendered.width = rendered.display;
    rendered.displayUnicode = UnicodeOf(reading);
    rendered.done = true;
  }
  return rendered;
}

PositionReading ContextResolver::Position(const Rendered& rendered, TextForm form) const {
  return {form == TextForm::Cp936 ? std::string_view(rendered.display)
                                  : std::string_view(rendered.displayUnicode),
          rendered.width, static_cast<std::uint32_t>(rendered.display.size())};
}

void ContextResolver::ReadLine(std::string_view line, TextForm form,
                               std::vector<std::string_view>& characters,
                               std::vector<char32_t>& codePoints,
                               std::vector<PositionReading>& readings,
                               std::vector<Segment>* segments) const {
  characters.clear();
  codePoints.clear();
  if (form == TextForm::Cp936) {
    for (std::size_t pos = 0; pos < line.size();) {
      const std::string_view character = line.substr(pos, cp936::CharLengthAt(line, pos));
      characters.push_back(character);
      codePoints.push_back(cp936::DecodesExactly(character) ? cp936::DecodeChar(character)
                                                            : unicode::kReplacement);
      pos += character.size();
    }
  } else {
    unicode::ForEachCodePoint(line, [&](std::string_view character, char32_t cp) {
      characters.push_back(character);
      codePoints.push_back(cp);
    });
  }
  const SpokenStyle style{settings_.neutralTone == NeutralTone::Spoken, settings_.erhua,
                          settings_.sandhi};
  ReadByContext(codePoints, data_, *words_, dictionary_, style, scratch_, model_, segments);
  static const Rendered kNotFound{std::string(kNotFoundReading), std::string(kNotFoundReading),
                                  std::string(kNotFoundReading), true};
  readings.resize(scratch_.size());
  for (std::size_t i = 0; i < scratch_.size(); ++i) {
    const ContextReading& reading = scratch_[i];
    switch (reading.kind) {
      case ContextReading::Kind::None:
        readings[i] = Position(kNotFound, form);
        break;
      case ContextReading::Kind::Syllable:
      case ContextReading::Kind::UserSyllable:
        readings[i] = Position(RenderSyllable(reading.syllable), form);
        break;
      case ContextReading::Kind::User:
        readings[i] = Position(RenderUser(reading.user), form);
        break;
    }
  }
}

}  // namespace tolvane
