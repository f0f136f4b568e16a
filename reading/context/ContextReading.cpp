#include "reading/context/ContextReading.h"

#include "platform/Cp936.h"
#include "reading/context/CharacterRules.h"
#include "reading/context/ModelChoice.h"
#include "reading/context/Segmentation.h"
#include "reading/context/SpokenRules.h"

namespace tolvane {
namespace {

// The reading the neighbours give a character that would take its default: the pairs, where
// every pair it stands in agrees; then the character rules.
std::optional<SyllableId> ReadingByNeighbours(std::span<const char32_t> text, std::size_t i,
                                              const PhraseData& data, SyllableId standing) {
  std::optional<SyllableId> reading;
  const std::string& syllable = data.Syllable(standing);
  // A neutral tone is a particle's own reading; pairs of words say nothing about it.
  if (!syllable.empty() && syllable.back() != '5') {
    const auto left = i > 0 ? data.PairReading(text[i - 1], text[i], 2) : std::nullopt;
    const auto right =
        i + 1 < text.size() ? data.PairReading(text[i], text[i + 1], 1) : std::nullopt;
    if (left && right) {
      if (*left == *right) reading = left;
    } else {
      reading = left ? left : right;
    }
    if (reading == kDisputedSyllable) reading.reset();
  }
  if (const auto rule = CharacterRuleReading(text, i)) {
    if (const auto id = data.FindSyllable(*rule)) reading = id;
  }
  return reading;
}

// The reading a user's word gives its character `k`: a dictionary's word its piece of the
// user's text; an own word its syllable of the data, its numbered text where the data has no
// such syllable, or none where it says "-".
ContextReading UserWordReading(const UserWords::Word& word, std::uint32_t k) {
  if (word.syllables.empty()) return {ContextReading::Kind::User, 0, word.readings[k]};
  if (word.syllables[k] != kDefaultSyllable)
    return {ContextReading::Kind::UserSyllable, word.syllables[k], {}};
  if (word.readings[k] == kNoSyllable) return {};
  return {ContextReading::Kind::User, 0, word.readings[k]};
}

// The defaults that are the model's usual reading of their character: the model is not asked
// about them, since it would almost never read them otherwise.
void MarkUsualReadings(std::span<const char32_t> text, const PhraseData& data,
                       const PolyphoneModel& model, std::span<const ContextReading> readings,
                       std::span<ReadingBasis> bases) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (bases[i] != ReadingBasis::kDefault) continue;
    const auto usual = model.UsualReading(text[i]);
    if (usual && data.FindSyllable(model.Reading(*usual)) == readings[i].syllable)
      bases[i] = ReadingBasis::kUsual;
  }
}

// A syllable of a word that speech makes light: where, in full and as spoken.
struct LightSyllable {
  std::size_t position;
  SyllableId full;
  SyllableId spoken;
};

}  // namespace

void ReadByContext(std::span<const char32_t> text, const PhraseData& data, const UserWords& words,
                   const CustomDictionary& dictionary, const SpokenStyle& style,
                   std::vector<ContextReading>& out, const PolyphoneModel* model,
                   std::vector<Segment>* segmentsOut, std::vector<ReadingBasis>* basisOut) {
  // Scratch memory only, reused from line to line: it holds nothing from one call to the next,
  // so a thread of its own per caller is all the sharing there is.
  thread_local std::vector<Segment> scratchSegments;
  std::vector<Segment>& segments = segmentsOut != nullptr ? *segmentsOut : scratchSegments;
  thread_local std::vector<LightSyllable> light;
  thread_local std::vector<SyllableId> fullTones;
  SegmentWords(text, data, words, segments);
  light.clear();
  out.assign(text.size(), ContextReading{});
  // What each reading is read by, only for a caller that asks: the normal reading of a line
  // pays nothing more than these tests of a null pointer.
  if (basisOut != nullptr) basisOut->assign(text.size(), ReadingBasis::kNone);
  const auto basis = [basisOut](std::size_t i, ReadingBasis why) {
    if (basisOut != nullptr) (*basisOut)[i] = why;
  };
  for (const Segment& segment : segments) {
    for (std::uint32_t k = 0; k < segment.length; ++k) {
      const std::size_t i = segment.begin + k;
      ContextReading& reading = out[i];
      if (segment.userWord != nullptr) {
        reading = UserWordReading(*segment.userWord, k);
        basis(i, reading.kind == ContextReading::Kind::None ? ReadingBasis::kNone
                                                            : ReadingBasis::kUserWord);
        continue;
      }
      // A word's own syllable, else the character's default, refined by its neighbours.
      const bool single = segment.length == 1 || segment.syllables == nullptr;
      if (!single && segment.syllables[k] != kDefaultSyllable) {
        reading = {ContextReading::Kind::Syllable, segment.syllables[k], {}};
        basis(i, ReadingBasis::kWord);
        const SyllableId spoken = data.SpokenReadingsOf(segment.syllables)[k];
        if (spoken != segment.syllables[k]) light.push_back({i, segment.syllables[k], spoken});
        continue;
      }
      const auto standing = data.DefaultReading(text[i]);
      if (!standing) continue;
      const auto better = ReadingByNeighbours(text, i, data, *standing);
      reading = {ContextReading::Kind::Syllable, better ? *better : *standing, {}};
      basis(i, better ? ReadingBasis::kNeighbours : ReadingBasis::kDefault);
    }
  }
  if (basisOut != nullptr && model != nullptr)
    MarkUsualReadings(text, data, *model, out, *basisOut);
  if (model != nullptr) ChooseByModel(text, segments, data, *model, out, basisOut);
  if (basisOut != nullptr) {
    thread_local std::vector<ContextReading> before;
    before = out;
    ReadParticlesByRole(text, segments, data, out);
    for (std::size_t i = 0; i < out.size(); ++i)
      if (out[i] != before[i]) (*basisOut)[i] = ReadingBasis::kRole;
  } else {
    ReadParticlesByRole(text, segments, data, out);
  }
  if (style.sandhi) {
    // The tone changes hear the next syllable's full tone, whatever is written for it.
    fullTones.resize(out.size());
    for (std::size_t i = 0; i < out.size(); ++i) fullTones[i] = out[i].syllable;
  }
  if (style.lightSyllables) {
    for (const LightSyllable& syllable : light) {
      ContextReading& reading = out[syllable.position];
      if (reading.kind == ContextReading::Kind::Syllable && reading.syllable == syllable.full)
        reading.syllable = syllable.spoken;
    }
    if (style.erhua) WriteErhua(text, segments, data, out);
  }
  if (style.sandhi) ApplyToneSandhi(text, segments, data, fullTones, out);
  if (dictionary.empty()) return;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const cp936::EncodedChar gb = cp936::EncodeChar(text[i]);
    if (gb.length == 0) continue;
    if (const auto custom = dictionary.FindReading(gb.view())) {
      out[i] = {ContextReading::Kind::User, 0, *custom};
      basis(i, ReadingBasis::kUserEntry);
    }
  }
}

}  // namespace tolvane
