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

const ContextResolver& LineReadings::Context(const ConversionSettings& settings) {
  const int spoken = (settings.neutralTone == NeutralTone::Spoken ? 1 : 0) |
                     (settings.erhua ? 2 : 0) | (settings.sandhi ? 4 : 0);
  auto& resolver = context_[static_cast<int>(settings.toneStyle)][settings.wadeGiles][spoken];
  if (!resolver) {
    const PhraseData& phrases = data_->ContextData();
    if (!syllables_) syllables_ = data_->KnownSyllables();
    resolver = std::make_unique<ContextResolver>(phrases, data_->DictionaryFor(settings),
                                                 data_->ToneVowelList(), *syllables_, settings,
                                                 data_->ContextModel());
  }
  return *resolver;
}

}  // namespace tolvane
