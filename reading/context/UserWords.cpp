#include "reading/context/UserWords.h"

#include <algorithm>
#include <set>

#include "platform/Cp936.h"
#include "platform/UnicodeText.h"
#include "reading/context/PhraseData.h"
#include "reading/shared/PositionReading.h"

namespace tolvane {
namespace {

bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= 0x20 || c == '\''; }

// One letter of a reading: where its bytes stand and the plain letter it counts as.
struct Letter {
  std::size_t begin;
  std::size_t end;
  char letter;  // a-z, or a tone digit 1-5
};

// The tone-marked vowels of GB2312 (A8A1 to A8BA) as the letters they mark.
char PlainVowel(unsigned char trail) {
  static constexpr char kVowels[] = "aaaaeeeeiiiioooouuuuvvvvv";
  // A8A1-A8A4 a, A8A5-A8A8 e, A8A9-A8AC i, A8AD-A8B0 o, A8B1-A8B4 u, A8B5-A8B9 ü.
  const unsigned index = trail - 0xA1u;
  return index < sizeof(kVowels) - 1 ? kVowels[index] : '\0';
}

// The reading as letters, separators left out; false when it holds anything but letters, tone
// marks, tone digits and separators.
bool ToLetters(std::string_view reading, std::vector<Letter>& letters) {
  for (std::size_t pos = 0; pos < reading.size();) {
    const auto byte = static_cast<unsigned char>(reading[pos]);
    if (IsSeparator(reading[pos])) {
      ++pos;
    } else if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z')) {
      letters.push_back({pos, pos + 1, static_cast<char>(byte | 0x20)});
      ++pos;
    } else if (byte >= '1' && byte <= '5') {
      letters.push_back({pos, pos + 1, static_cast<char>(byte)});
      ++pos;
    } else if (byte == 0xA8 && pos + 1 < reading.size() &&
               PlainVowel(static_cast<unsigned char>(reading[pos + 1])) != '\0') {
      letters.push_back({pos, pos + 2, PlainVowel(static_cast<unsigned char>(reading[pos + 1]))});
      pos += 2;
    } else {
      return false;
    }
  }
  return true;
}

bool IsSyllable(std::string syllable, const std::unordered_set<std::string>& syllables) {
  if (syllables.contains(syllable)) return true;
  std::replace(syllable.begin(), syllable.end(), 'v', 'u');  // lüe written with ü
  return syllables.contains(syllable);
}

// Cuts the letters into exactly `count` syllables, each with an optional tone digit after it:
// the pieces as [first letter, last letter] ranges, longer syllables tried first.
bool CutSyllables(const std::vector<Letter>& letters, std::size_t count,
                  const std::unordered_set<std::string>& syllables,
                  std::vector<std::pair<std::size_t, std::size_t>>& pieces) {
  const std::size_t n = letters.size();
  // possible[i][k]: letters i.. make k syllables.
  std::vector<std::vector<char>> possible(n + 1, std::vector<char>(count + 1, 0));
  possible[n][0] = 1;
  const auto syllableEnds = [&](std::size_t i) {
    std::vector<std::size_t> ends;  // one past the last letter, tone digit included
    std::string syllable;
    for (std::size_t j = i; j < n && j - i < 6 && letters[j].letter >= 'a'; ++j) {
      syllable.push_back(letters[j].letter);
      if (!IsSyllable(syllable, syllables)) continue;
      ends.push_back(j + 1);
      if (j + 1 < n && letters[j + 1].letter <= '5') ends.back() = j + 2;
    }
    std::reverse(ends.begin(), ends.end());
    return ends;
  };
  for (std::size_t i = n; i-- > 0;) {
    for (const std::size_t end : syllableEnds(i))
      for (std::size_t k = 1; k <= count; ++k)
        if (possible[end][k - 1]) possible[i][k] = 1;
  }
  if (!possible[0][count]) return false;
  for (std::size_t i = 0, k = count; k > 0; --k) {
    for (const std::size_t end : syllableEnds(i)) {
      if (!possible[end][k - 1]) continue;
      pieces.emplace_back(i, end - 1);
      i = end;
      break;
    }
  }
  return true;
}

}  // namespace

std::vector<std::string> SplitUserReading(std::string_view reading, std::size_t count,
                                          const std::unordered_set<std::string>& syllables) {
  std::vector<std::string> pieces;
  for (std::size_t pos = 0; pos < reading.size();) {
    while (pos < reading.size() && IsSeparator(reading[pos])) ++pos;
    std::size_t end = pos;
    while (end < reading.size() && !IsSeparator(reading[end])) ++end;
    if (end > pos) pieces.emplace_back(reading.substr(pos, end - pos));
    pos = end;
  }
  if (pieces.size() == count) return pieces;

  pieces.clear();
  std::vector<Letter> letters;
  std::vector<std::pair<std::size_t, std::size_t>> cut;
  if (count > 0 && ToLetters(reading, letters) && CutSyllables(letters, count, syllables, cut)) {
    for (const auto& [first, last] : cut)
      pieces.emplace_back(
          reading.substr(letters[first].begin, letters[last].end - letters[first].begin));
    return pieces;
  }

  pieces.assign(count, std::string(kNotFoundReading));
  if (count > 0) pieces[0] = std::string(reading);
  return pieces;
}

UserWords::UserWords(const CustomDictionary& dictionary,
                     const std::unordered_set<std::string>& syllables) {
  std::unordered_set<std::string> seen;
  for (std::size_t i = 0; i < dictionary.Count() && i < dictionary.ReadingCount(); ++i) {
    const std::string& key = dictionary.Key(i);
    Word word;
    bool decodable = true;
    for (std::size_t pos = 0; pos < key.size();) {
      const std::size_t length = cp936::CharLengthAt(key, pos);
      const std::string_view character(key.data() + pos, length);
      decodable = decodable && cp936::DecodesExactly(character);
      word.characters.push_back(cp936::DecodeChar(character));
      pos += length;
    }
    // The first entry of a key decides, as in the lookup; one-character keys are not words.
    if (!decodable || word.characters.size() < 2 || !seen.insert(key).second) continue;
    word.readings = SplitUserReading(dictionary.Reading(i), word.characters.size(), syllables);
    Add(std::move(word));
  }
}

UserWords::UserWords(const CustomDictionary& dictionary,
                     const std::unordered_set<std::string>& syllables, const UserWordList& own,
                     const PhraseData& data)
    : UserWords(dictionary, syllables) {
  // The words the dictionary gives, which keep their readings.
  std::set<std::vector<char32_t>> taken;
  for (const Word& word : words_) taken.insert(word.characters);
  for (const UserWordEntry& entry : own.Entries()) {
    Word word;
    unicode::ForEachCodePoint(
        entry.word, [&](std::string_view, char32_t cp) { word.characters.push_back(cp); });
    if (word.characters.empty() || word.characters.size() != entry.syllables.size() ||
        !taken.insert(word.characters).second)
      continue;
    word.readings = entry.syllables;
    for (const std::string& syllable : entry.syllables)
      word.syllables.push_back(data.FindSyllable(syllable).value_or(kDefaultSyllable));
    Add(std::move(word));
  }
}

void UserWords::Add(Word word) {
  byFirst_[word.characters[0]].push_back(words_.size());
  words_.push_back(std::move(word));
}

}  // namespace tolvane
