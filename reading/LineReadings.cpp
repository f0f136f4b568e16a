#include "reading/LineReadings.h"

namespace tolvane {

LineReadings::LineReadings(std::shared_ptr<const ReadingData> data) : data_(std::move(data)) {}

LineReadings::~LineReadings() = default;

const ReadingResolver& LineReadings::Classic(const ConversionSettings& settings) {
  const int policy = settings.polyphone == PolyphonePolicy::AllReadings ? 1 : 0;
  auto& resolver = classic_[static_cast<int>(settings.toneStyle)][policy][settings.wadeGiles];
  if (!resolver) {
    ConversionSettings key = settings;
    if (key.polyphone == PolyphonePolicy::ByContext) key.polyphone = PolyphonePolicy::FirstReading;
    resolver = std::make_unique<ReadingResolver>(data_->Classic(), key);
  }
  return *resolver;
}

namespace {

int SpokenIndex(const ConversionSettings& settings) {
  return (settings.neutralTone == NeutralTone::Spoken ? 1 : 0) | (settings.erhua ? 2 : 0) |
         (settings.sandhi ? 4 : 0);
}

}  // namespace

OrthographicLine& LineReadings::Orthography(const ConversionSettings& settings) {
  auto& speller =
      orthography_[static_cast<int>(settings.toneStyle)][settings.wadeGiles][SpokenIndex(settings)];
  if (!speller) {
    // The words are worked out on numbered syllables and written in the style asked.
    ConversionSettings numbered = settings;
    numbered.toneStyle = ToneStyle::Numbered;
    const ContextResolver& resolver = Context(numbered);
    speller =
        std::make_unique<OrthographicLine>(resolver, data_->ProperNounData(), settings.toneStyle,
                                           data_->ToneVowelList(), settings.neutralTone);
  }
  return *speller;
}

const ContextResolver& LineReadings::Context(const ConversionSettings& settings) {
  const int spoken = SpokenIndex(settings);
  auto& resolver = context_[static_cast<int>(settings.toneStyle)][settings.wadeGiles][spoken];
  if (!resolver) {
    const PhraseData& phrases = data_->ContextData();
    if (!syllables_) syllables_ = data_->KnownSyllables();
    resolver = std::make_unique<ContextResolver>(phrases, data_->DictionaryFor(settings),
                                                 data_->ToneVowelList(), *syllables_, settings,
                                                 data_->ContextModel(), &data_->UserWords());
  }
  return *resolver;
}

}  // namespace tolvane
