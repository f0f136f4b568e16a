#include "dictionary/ContextReading.h"

#include "dictionary/Segmentation.h"
#include "platform/Cp936.h"

namespace tolvane {

void ReadByContext(std::span<const char32_t> text, const PhraseData& data, const UserWords& words,
                   const CustomDictionary& dictionary, std::vector<ContextReading>& out) {
  thread_local std::vector<Segment> segments;
  SegmentWords(text, data, words, segments);
  out.assign(text.size(), ContextReading{});
  for (const Segment& segment : segments) {
    for (std::uint32_t k = 0; k < segment.length; ++k) {
      ContextReading& reading = out[segment.begin + k];
      if (segment.userWord != nullptr) {
        reading = {ContextReading::Kind::User, 0, segment.userWord->readings[k]};
      } else if (segment.syllables != nullptr) {
        reading = {ContextReading::Kind::Syllable, segment.syllables[k], {}};
      } else if (const auto syllable = data.DefaultReading(text[segment.begin + k])) {
        reading = {ContextReading::Kind::Syllable, *syllable, {}};
      }
    }
  }
  if (dictionary.empty()) return;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const cp936::EncodedChar gb = cp936::EncodeChar(text[i]);
    if (gb.length == 0) continue;
    if (const auto custom = dictionary.FindReading(gb.view()))
      out[i] = {ContextReading::Kind::User, 0, *custom};
  }
}

}  // namespace tolvane
