// Citation tones read the shipped data exactly as a words file without light syllables reads:
// every syllable of a word in its full tone. Spoken tones differ from them only where a word's
// syllable is light, and there only in the tone.
#include <gtest/gtest.h>

#include <regex>

#include "reading/context/ContextReading.h"
#include "reading/context/PhraseData.h"
#include "reading/context/UserWords.h"
#include "reading/shared/DataFiles.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

constexpr std::u32string_view kTexts[] = {
    U"我的朋友喜欢吃东西，他们认识很多地方。",
    U"妈妈说：“你看看，一会儿就到了，时候不早了。”",
    U"他一天到晚不是看书就是写字，慢慢地跑得快了。",
    U"我們還沒有長大，銀行的頭髮發現了什麼。",
    U"太阳出来了，孩子们在外面玩儿，先生和学生都在。",
};

std::vector<std::string> Read(const PhraseData& data, std::u32string_view text,
                              const SpokenStyle& style) {
  const CustomDictionary dictionary;
  const UserWords words(dictionary, {});
  std::vector<ContextReading> readings;
  ReadByContext(text, data, words, dictionary, style, readings);
  std::vector<std::string> out;
  for (const ContextReading& r : readings)
    out.push_back(r.kind == ContextReading::Kind::Syllable ? data.Syllable(r.syllable) : "-");
  return out;
}

TEST(CitationTones, AreTheShippedWordsWithoutTheirLightSyllables) {
  const std::filesystem::path data = test::SourceDataFolder();
  test::TempDir dir;
  // The words file with every "you3:5" written "you3", as a file of full tones only would be.
  const std::string words = test::ReadBytes(data / kContextWordsFile);
  test::WriteBytes(dir / "full.txt", std::regex_replace(words, std::regex(":[1-5]"), ""));
  const auto shipped = PhraseData::Load(data / kContextWordsFile, data / kContextPairsFile,
                                        data / kContextCharactersFile);
  const auto full =
      PhraseData::Load(dir / "full.txt", data / kContextPairsFile, data / kContextCharactersFile);
  const SpokenStyle citation{false, true, false};
  const SpokenStyle spoken{true, false, false};
  std::size_t light = 0;
  for (const std::u32string_view text : kTexts) {
    const auto asCited = Read(*shipped, text, citation);
    EXPECT_EQ(asCited, Read(*full, text, citation));
    const auto asSpoken = Read(*shipped, text, spoken);
    ASSERT_EQ(asSpoken.size(), asCited.size());
    for (std::size_t i = 0; i < asSpoken.size(); ++i) {
      if (asSpoken[i] == asCited[i]) continue;
      ++light;
      // Only the tone moves, and only to the neutral one.
      EXPECT_EQ(asSpoken[i].substr(0, asSpoken[i].size() - 1),
                asCited[i].substr(0, asCited[i].size() - 1));
      EXPECT_EQ(asSpoken[i].back(), '5') << asCited[i];
    }
  }
  // The texts hold a dozen words with light syllables (朋友, 东西, 认识, 地方, 看看 ...).
  EXPECT_GE(light, 10u);
}

}  // namespace
}  // namespace tolvane
