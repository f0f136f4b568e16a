// Reading by context over the shipped data, with user words taken from the input: every
// character gets exactly one reading, the words cover the line exactly once, a user word that the
// line holds is taken where it stands, and a user reading is always cut into one piece per
// character.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "FuzzInput.h"
#include "platform/Cp936.h"
#include "platform/TextCodec.h"
#include "platform/UnicodeText.h"
#include "reading/context/ContextReading.h"
#include "reading/context/PhraseData.h"
#include "reading/context/Segmentation.h"
#include "reading/context/UserWords.h"

using namespace tolvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<PhraseData> phrases = [] {
    const std::filesystem::path folder = std::filesystem::path(TOLVANE_SOURCE_DIR) / "data";
    return PhraseData::Load(folder / "pinyin_words.txt", folder / "pinyin_pairs.txt",
                            folder / "pinyin_chars.txt");
  }();
  static const std::unordered_set<std::string> syllables = {"ou",  "yang",  "si",  "ma",
                                                            "xiu", "zhang", "san", "li"};
  fuzz::FuzzInput input(data, size);
  // User entries: keys of one to three characters from the input, readings free text.
  std::vector<std::string> keys;
  std::vector<std::string> readings;
  const int entries = input.Byte() % 4;
  for (int i = 0; i < entries; ++i) {
    keys.push_back(input.Bytes(6));
    readings.push_back(input.Bytes(12));
  }
  const CustomDictionary dictionary(keys, readings);
  const UserWords words(dictionary, syllables);

  std::vector<char32_t> text;
  unicode::ForEachCodePoint(DecodeText(input.Rest(), Encoding::Utf8).text,
                            [&](std::string_view, char32_t cp) { text.push_back(cp); });
  // The user words, written into the line so that they occur.
  for (const std::string& key : keys) {
    std::string unicodeKey;
    cp936::AppendAsUnicodeText(key, unicodeKey);
    unicode::ForEachCodePoint(unicodeKey,
                              [&](std::string_view, char32_t cp) { text.push_back(cp); });
  }

  std::vector<Segment> segments;
  SegmentWords(text, *phrases, words, segments);
  std::size_t covered = 0;
  for (const Segment& segment : segments) {
    FUZZ_CHECK(segment.begin == covered && segment.length > 0);
    if (segment.userWord != nullptr) {
      FUZZ_CHECK(segment.userWord->characters.size() == segment.length);
      FUZZ_CHECK(segment.userWord->readings.size() == segment.length);
      FUZZ_CHECK(std::equal(segment.userWord->characters.begin(),
                            segment.userWord->characters.end(), text.begin() + segment.begin));
    }
    covered += segment.length;
  }
  FUZZ_CHECK(covered == text.size());

  // Every way of writing speech: full or light syllables, erhua, the tone changes of 一 and 不.
  // Whatever the way, a character keeps its place and its kind of reading, and only the
  // characters the rules name may read otherwise than in citation tones without them.
  std::vector<ContextReading> plain;
  ReadByContext(text, *phrases, words, dictionary, SpokenStyle{false, false, false}, plain);
  FUZZ_CHECK(plain.size() == text.size());
  for (int way = 0; way < 8; ++way) {
    std::vector<ContextReading> out;
    ReadByContext(text, *phrases, words, dictionary,
                  SpokenStyle{(way & 1) != 0, (way & 2) != 0, (way & 4) != 0}, out);
    FUZZ_CHECK(out.size() == text.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
      const ContextReading& reading = out[i];
      FUZZ_CHECK(reading.kind == plain[i].kind);
      if (reading.kind != ContextReading::Kind::Syllable) continue;
      FUZZ_CHECK(reading.syllable < phrases->SyllableCount());
      if (reading.syllable != plain[i].syllable && (way & 1) == 0)
        FUZZ_CHECK(text[i] == U'一' || text[i] == U'不');
    }
  }

  for (std::size_t count = 0; count < 5; ++count) {
    const std::string reading(input.Rest().substr(0, 16));
    FUZZ_CHECK(SplitUserReading(reading, count, syllables).size() == count);
  }
  return 0;
}
