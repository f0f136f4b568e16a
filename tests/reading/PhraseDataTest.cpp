// The phrase data's indexes answer what its records say: random small dictionaries, written
// sorted and shuffled, queried at every position of random texts and checked against a plain
// search of the dictionary.
#include "reading/context/PhraseData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

// Characters of the Basic Multilingual Plane and beyond it, which the index keeps apart.
const std::u32string kAlphabet = U"一丁七万丈三𠀀𠀁𪚥";
const std::vector<std::string> kSyllables = {"yi1",    "ding1", "qi1", "wan4",
                                             "zhang4", "san1",  "lv4", "er5"};

std::string Utf8(const std::u32string& text) {
  std::string out;
  for (const char32_t cp : text) unicode::AppendCodePoint(out, cp);
  return out;
}

struct Dictionary {
  struct Entry {
    std::uint32_t frequency;
    std::vector<std::string> readings;  // "-": the default reading
  };
  std::map<std::u32string, Entry> words;
  struct Pair {
    char32_t first;
    char32_t second;
    int which;
    std::string reading;  // "*": disputed
  };
  std::vector<Pair> pairs;
  std::vector<std::pair<char32_t, std::string>> characters;

  static Dictionary Random(unsigned seed) {
    std::mt19937 random(seed);
    const auto below = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    Dictionary d;
    for (int i = 0; i < 300; ++i) {
      std::u32string word;
      for (std::size_t n = 1 + below(5); n > 0; --n) word += kAlphabet[below(kAlphabet.size())];
      Entry entry;
      // Mostly small frequencies, some beyond what a table of small ones holds.
      entry.frequency =
          static_cast<std::uint32_t>(below(4) == 0 ? 1 + below(4000000000u) : 1 + below(2000));
      for (std::size_t k = 0; k < word.size(); ++k)
        entry.readings.push_back(below(5) == 0 ? "-" : kSyllables[below(kSyllables.size())]);
      d.words.emplace(word, entry);
    }
    for (int i = 0; i < 40; ++i) {
      d.pairs.push_back({kAlphabet[below(kAlphabet.size())], kAlphabet[below(kAlphabet.size())],
                         1 + static_cast<int>(below(2)),
                         below(4) == 0 ? "*" : kSyllables[below(kSyllables.size())]});
    }
    for (const char32_t c : kAlphabet) {
      for (std::size_t n = below(3); n > 0; --n)
        d.characters.emplace_back(c, kSyllables[below(kSyllables.size())]);
    }
    return d;
  }

  std::string WordsFile(bool shuffled, unsigned seed) const {
    std::vector<std::string> lines;
    for (const auto& [word, entry] : words) {
      std::string line = Utf8(word) + "\t" + std::to_string(entry.frequency) + "\t";
      for (std::size_t k = 0; k < entry.readings.size(); ++k)
        line += (k > 0 ? " " : "") + entry.readings[k];
      lines.push_back(line + "\n");
    }
    if (shuffled) std::shuffle(lines.begin(), lines.end(), std::mt19937(seed));
    std::string text;
    for (const std::string& line : lines) text += line;
    return text;
  }
  std::string PairsFile() const {
    std::string text;
    for (const Pair& p : pairs)
      text += Utf8({p.first, p.second}) + "\t" + std::to_string(p.which) + "\t" + p.reading + "\n";
    return text;
  }
  std::string CharactersFile() const {
    std::string text;
    for (const auto& [c, reading] : characters) text += Utf8({c}) + "\t" + reading + "\n";
    return text;
  }
};

std::string Name(const PhraseData& data, SyllableId id) {
  if (id == kDefaultSyllable) return "-";
  if (id == kDisputedSyllable) return "*";
  EXPECT_LT(id, data.SyllableCount());
  return id < data.SyllableCount() ? data.Syllable(id) : "?";
}

TEST(PhraseData, TheIndexesAnswerWhatThePlainSearchFinds) {
  for (const unsigned seed : {1u, 2u, 3u, 4u}) {
    const Dictionary d = Dictionary::Random(seed);
    for (const bool shuffled : {false, true}) {
      SCOPED_TRACE("seed " + std::to_string(seed) + (shuffled ? ", shuffled" : ", sorted"));
      PhraseFileParser parser;
      parser.ParseWords(d.WordsFile(shuffled, seed), "w.txt");
      parser.ParsePairs(d.PairsFile(), "p.txt");
      parser.ParseCharacters(d.CharactersFile(), "c.txt");
      const auto data = PhraseData::FromRecords(parser.TakeRecords());

      double total = 0;
      for (const auto& [word, entry] : d.words) total += entry.frequency;
      const double logTotal = std::log(total);
      EXPECT_DOUBLE_EQ(data->UnknownLogProbability(), -logTotal);
      EXPECT_EQ(data->WordCount(), d.words.size());

      // Every word at every position of random texts, with one character no word holds.
      std::mt19937 random(seed * 7919);
      const std::u32string letters = kAlphabet + U"乙";
      std::size_t matches = 0;
      for (int t = 0; t < 20; ++t) {
        std::u32string text;
        for (int i = 0; i < 40; ++i) text += letters[random() % letters.size()];
        for (std::size_t at = 0; at < text.size(); ++at) {
          std::vector<std::string> expected;
          for (std::size_t length = 1; at + length <= text.size(); ++length) {
            const auto it = d.words.find(text.substr(at, length));
            if (it == d.words.end()) continue;
            std::string match = std::to_string(length) + ":";
            for (const std::string& r : it->second.readings) match += " " + r;
            const auto logProbability =
                static_cast<float>(std::log(static_cast<double>(it->second.frequency)) - logTotal);
            expected.push_back(match + " @" + std::to_string(logProbability));
          }
          std::vector<std::string> found;
          data->ForEachWordAt(
              std::u32string_view(text).substr(at), [&](const PhraseData::WordMatch& m) {
                std::string match = std::to_string(m.length) + ":";
                EXPECT_EQ(m.readings.size(), m.length);
                for (const SyllableId id : m.readings) match += " " + Name(*data, id);
                found.push_back(match + " @" +
                                std::to_string(static_cast<float>(m.logProbability)));
              });
          EXPECT_EQ(found, expected) << Utf8(text.substr(at));
          matches += expected.size();
        }
      }
      EXPECT_GT(matches, 100u);  // the texts do meet the words

      for (const char32_t c : letters) {
        // The character's own word, else its first line in the characters file.
        std::optional<std::string> expected;
        const auto word = d.words.find(std::u32string(1, c));
        if (word != d.words.end() && word->second.readings[0] != "-")
          expected = word->second.readings[0];
        for (const auto& [character, reading] : d.characters) {
          if (!expected && character == c) expected = reading;
        }
        const auto found = data->DefaultReading(c);
        EXPECT_EQ(found ? std::optional<std::string>(Name(*data, *found)) : std::nullopt, expected)
            << Utf8({c});
        for (const char32_t other : letters) {
          for (const int which : {1, 2}) {
            std::optional<std::string> pair;  // the last line for the pair counts
            for (const auto& p : d.pairs) {
              if (p.first == c && p.second == other && p.which == which) pair = p.reading;
            }
            const auto reading = data->PairReading(c, other, which);
            EXPECT_EQ(reading ? std::optional<std::string>(Name(*data, *reading)) : std::nullopt,
                      pair)
                << Utf8({c, other}) << " " << which;
          }
        }
      }

      for (const std::string& syllable : kSyllables) {
        const auto id = data->FindSyllable(syllable);
        if (id) {
          EXPECT_EQ(data->Syllable(*id), syllable);
        }
      }
      EXPECT_EQ(data->FindSyllable("nope"), std::nullopt);
      // The files' syllables and the ten the rules of speech add.
      EXPECT_LE(data->SyllableCount(), kSyllables.size() + 10);
      EXPECT_GT(data->MemoryBytes(), 0u);
    }
  }
}

}  // namespace
}  // namespace tolvane
