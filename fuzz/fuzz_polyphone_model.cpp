// Reading by context with the shipped polyphone model, over arbitrary text: every character gets
// exactly one reading; where the model chose, the reading is one of the character's own
// candidates; the model's scores, at any position of any window, cover exactly those candidates.
#include <algorithm>
#include <filesystem>

#include "FuzzInput.h"
#include "platform/TextCodec.h"
#include "platform/UnicodeText.h"
#include "reading/context/ContextReading.h"
#include "reading/context/ModelChoice.h"
#include "reading/context/PhraseData.h"
#include "reading/context/PolyphoneModel.h"
#include "reading/context/UserWords.h"

using namespace tolvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path folder = std::filesystem::path(TOLVANE_SOURCE_DIR) / "data";
  static const std::unique_ptr<PhraseData> phrases = PhraseData::Load(
      folder / "pinyin_words.txt", folder / "pinyin_pairs.txt", folder / "pinyin_chars.txt");
  static const std::unique_ptr<PolyphoneModel> model =
      PolyphoneModel::Load(folder / "polyphone_model.bin");
  static const CustomDictionary dictionary;
  static const UserWords words(dictionary, {});

  fuzz::FuzzInput input(data, size);
  const std::size_t reach = 1 + input.Byte() % 40;
  std::vector<char32_t> text;
  unicode::ForEachCodePoint(DecodeText(input.Rest(), Encoding::Utf8).text,
                            [&](std::string_view, char32_t cp) { text.push_back(cp); });

  std::vector<ContextReading> without;
  std::vector<ContextReading> with;
  ReadByContext(text, *phrases, words, dictionary, SpokenStyle{}, without);
  ReadByContext(text, *phrases, words, dictionary, SpokenStyle{}, with, model.get());
  FUZZ_CHECK(with.size() == text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (with[i] == without[i]) continue;
    // The model changed it: to a syllable among the character's own readings.
    FUZZ_CHECK(with[i].kind == ContextReading::Kind::Syllable);
    const auto candidates = model->Candidates(text[i]);
    FUZZ_CHECK(std::any_of(candidates.begin(), candidates.end(), [&](ModelReadingId id) {
      return phrases->FindSyllable(model->Reading(id)) == with[i].syllable;
    }));
  }

  // The scores straight from the model, over the windows of the first characters (a run per
  // character: the whole of a long input would cost more than it finds).
  ModelStates states;
  std::vector<ReadingScore> scores;
  for (std::size_t i = 0; i < std::min<std::size_t>(text.size(), 48); ++i) {
    const TextWindow window = ClauseAround(text, i, reach);
    FUZZ_CHECK(window.begin <= i && i < window.end && window.end <= text.size());
    FUZZ_CHECK(i - window.begin <= reach && window.end - i - 1 <= reach);
    model->Run(std::span(text).subspan(window.begin, window.end - window.begin), states);
    model->ScoresAt(states, i - window.begin, text[i], scores);
    const auto candidates = model->Candidates(text[i]);
    FUZZ_CHECK(scores.size() == candidates.size());
    for (std::size_t k = 0; k < scores.size(); ++k)
      FUZZ_CHECK(scores[k].reading == candidates[k] && scores[k].reading < model->ReadingCount());
  }
  return 0;
}
