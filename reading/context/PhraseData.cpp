#include "reading/context/PhraseData.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace tolvane {

std::unique_ptr<PhraseData> PhraseData::Load(const std::filesystem::path& wordsFile,
                                             const std::filesystem::path& pairsFile,
                                             const std::filesystem::path& charactersFile) {
  auto data = FromRecords(ReadPhraseFiles(wordsFile, pairsFile, charactersFile));
#ifdef __GLIBC__
  // The records' memory goes back to the system rather than stay with the process.
  malloc_trim(0);
#endif
  return data;
}

std::unique_ptr<PhraseData> PhraseData::FromRecords(PhraseRecords records) {
  auto data = std::make_unique<PhraseData>();
  data->syllables_ = std::move(records.syllables);
  data->syllableIds_ = std::move(records.syllableIds);
  data->rules_ = {data->InternSyllable("yi1"),  data->InternSyllable("yi2"),
                  data->InternSyllable("yi4"),  data->InternSyllable("bu2"),
                  data->InternSyllable("bu4"),  data->InternSyllable("de5"),
                  data->InternSyllable("dei3"), data->InternSyllable("zhe5"),
                  data->InternSyllable("er5"),  data->InternSyllable("r5")};
  data->BuildPairs(records.pairs);
  std::vector<PhraseRecords::Pair>().swap(records.pairs);
  data->BuildWords(records);
  data->BuildDefaults(records);
  return data;
}

void PhraseData::BuildPairs(const std::vector<PhraseRecords::Pair>& pairs) {
  pairs_ = OpenTable<SyllableId>(pairs.size());
  pairedCharacters_.assign(0x10000, false);
  for (const PhraseRecords::Pair& pair : pairs) {
    const auto [reading, added] =
        pairs_.Insert(PairKey(pair.first, pair.second, pair.which), pair.reading);
    if (!added) *reading = pair.reading;
    const char32_t standing = pair.which == 1 ? pair.first : pair.second;
    if (standing < 0x10000) pairedCharacters_[standing] = true;
  }
}

void PhraseData::BuildWords(const PhraseRecords& records) {
  const std::vector<PhraseRecords::Word>& words = records.words;
  const double total =
      std::accumulate(words.begin(), words.end(), 0.0,
                      [](double sum, const PhraseRecords::Word& w) { return sum + w.frequency; });
  const double logTotal = std::log(std::max(total, 1.0));
  // A character that is no word counts as a word seen once, as in jieba.
  unknownLogProbability_ = -logTotal;

  // The words in sorted order. As the generator writes them sorted, their characters and
  // readings already stand in that order and are taken over as they are.
  const bool inFileOrder = std::is_sorted(
      words.begin(), words.end(),
      [](const PhraseRecords::Word& x, const PhraseRecords::Word& y) { return x.begin < y.begin; });
  words_.reserve(words.size());
  // Records made without light syllables are spoken as they are written.
  const std::vector<SyllableId>& spoken = records.spokenReadings.size() == records.readings.size()
                                              ? records.spokenReadings
                                              : records.readings;
  if (!inFileOrder) {
    characters_.reserve(records.characters.size());
    readings_.reserve(records.readings.size());
    spokenReadings_.reserve(spoken.size());
  }
  // Most words share a few small frequencies; their logarithms are worked out once each.
  std::vector<float> smallLogs(1 << 16, 1.0f);
  for (const PhraseRecords::Word& word : words) {
    float logProbability;
    if (word.frequency < smallLogs.size()) {
      float& known = smallLogs[word.frequency];
      if (known > 0.0f)
        known = static_cast<float>(std::log(static_cast<double>(word.frequency)) - logTotal);
      logProbability = known;
    } else {
      logProbability = static_cast<float>(std::log(static_cast<double>(word.frequency)) - logTotal);
    }
    if (inFileOrder) {
      words_.push_back({word.begin, word.length, logProbability});
      continue;
    }
    words_.push_back({static_cast<std::uint32_t>(characters_.size()), word.length, logProbability});
    characters_.insert(characters_.end(), records.characters.begin() + word.begin,
                       records.characters.begin() + word.begin + word.length);
    readings_.insert(readings_.end(), records.readings.begin() + word.begin,
                     records.readings.begin() + word.begin + word.length);
    spokenReadings_.insert(spokenReadings_.end(), spoken.begin() + word.begin,
                           spoken.begin() + word.begin + word.length);
  }
  if (inFileOrder) {
    characters_.assign(records.characters.begin(), records.characters.end());
    readings_.assign(records.readings.begin(), records.readings.end());
    spokenReadings_.assign(spoken.begin(), spoken.end());
  }
  thirdCharacters_.resize(words_.size());
  for (std::size_t w = 0; w < words_.size(); ++w) {
    const Word& word = words_[w];
    thirdCharacters_[w] = word.length > 2 ? characters_[word.begin + 2] : 0;
  }
  BuildPrefixes();
  bmpFirst_.assign(0x10000, {});
  for (std::uint32_t i = 0; i < words_.size(); ++i) {
    const char32_t cp = characters_[words_[i].begin];
    if (cp >= 0x10000) continue;
    if (words_[i].length == 1) {
      bmpFirst_[cp].single = static_cast<std::int32_t>(i);
    } else {
      bmpFirst_[cp].longer = true;
    }
  }
}

void PhraseData::BuildPrefixes() {
  // The words of two characters and more that share their first two stand together: one entry
  // for each run of them.
  std::vector<std::pair<std::uint64_t, std::pair<std::uint32_t, std::uint32_t>>> prefixes;
  for (std::uint32_t i = 0; i < words_.size();) {
    if (words_[i].length < 2) {
      ++i;
      continue;
    }
    const char32_t a = characters_[words_[i].begin];
    const char32_t b = characters_[words_[i].begin + 1];
    std::uint32_t j = i + 1;
    while (j < words_.size() && words_[j].length >= 2 && characters_[words_[j].begin] == a &&
           characters_[words_[j].begin + 1] == b)
      ++j;
    prefixes.push_back({PrefixKey(a, b), {i, j}});
    i = j;
  }
  prefixes_ = OpenTable<std::pair<std::uint32_t, std::uint32_t>>(prefixes.size());
  for (const auto& [key, range] : prefixes) prefixes_.Insert(key, range);
}

void PhraseData::BuildDefaults(const PhraseRecords& records) {
  // A word file's one-character line first, then the characters file.
  // Sized for the characters file; the rare one-character words beyond it grow the table.
  std::size_t beyondBmp = 0;
  for (const PhraseRecords::Character& c : records.characterReadings)
    beyondBmp += c.character >= 0x10000;
  defaults_ = OpenTable<SyllableId>(beyondBmp);
  bmpDefaults_.assign(0x10000, 0);
  const auto setDefault = [&](char32_t cp, SyllableId id) {
    if (cp < 0x10000) {
      if (bmpDefaults_[cp] == 0) bmpDefaults_[cp] = static_cast<SyllableId>(id + 1);
    } else {
      defaults_.Insert(cp, id);
    }
  };
  for (const PhraseRecords::Word& word : records.words) {
    const SyllableId id = records.readings[word.begin];
    if (word.length == 1 && id != kDefaultSyllable) setDefault(records.characters[word.begin], id);
  }
  for (const PhraseRecords::Character& c : records.characterReadings)
    setDefault(c.character, c.reading);
}

std::pair<std::uint32_t, std::uint32_t> PhraseData::WordsBeginningWith(char32_t cp) const {
  std::uint32_t first = 0;
  auto last = static_cast<std::uint32_t>(words_.size());
  Narrow(first, last, 0, cp);
  return {first, last};
}

std::pair<std::uint32_t, std::uint32_t> PhraseData::WordsBeginningWith(char32_t first,
                                                                       char32_t second) const {
  const auto* range = prefixes_.Find(PrefixKey(first, second));
  return range != nullptr ? *range : std::pair<std::uint32_t, std::uint32_t>{0, 0};
}

void PhraseData::Narrow(std::uint32_t& first, std::uint32_t& last, std::size_t depth,
                        char32_t cp) const {
  const char32_t* dense = depth == 2 ? thirdCharacters_.data() : nullptr;
  const auto at = [&](std::uint32_t word) {
    return dense != nullptr ? dense[word] : characters_[words_[word].begin + depth];
  };
  // The first word whose character there is not below cp.
  std::uint32_t low = first;
  std::uint32_t high = last;
  while (high - low > 8) {
    const std::uint32_t middle = low + (high - low) / 2;
    if (at(middle) < cp) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  while (low < high && at(low) < cp) ++low;
  if (low == last || at(low) != cp) {
    first = last = low;
    return;
  }
  // The words with cp there follow it; mostly a few, so they are counted by galloping.
  std::uint32_t step = 1;
  std::uint32_t end = low + 1;
  while (end < last && at(end) == cp) {
    const std::uint32_t next = std::min(last, end + step);
    if (at(next - 1) != cp) break;
    end = next;
    step *= 2;
  }
  high = std::min(last, end + step);
  while (end < high) {  // the first word past end whose character there is above cp
    const std::uint32_t middle = end + (high - end) / 2;
    if (at(middle) <= cp) {
      end = middle + 1;
    } else {
      high = middle;
    }
  }
  first = low;
  last = end;
}

std::optional<SyllableId> PhraseData::DefaultReading(char32_t cp) const {
  if (cp < 0x10000) {
    const SyllableId stored = bmpDefaults_[cp];
    if (stored == 0) return std::nullopt;
    return static_cast<SyllableId>(stored - 1);
  }
  const SyllableId* id = defaults_.Find(cp);
  if (id == nullptr) return std::nullopt;
  return *id;
}

SyllableId PhraseData::InternSyllable(const std::string& syllable) {
  const auto [it, added] =
      syllableIds_.emplace(syllable, static_cast<SyllableId>(syllables_.size()));
  if (added) syllables_.push_back(syllable);
  return it->second;
}

std::optional<SyllableId> PhraseData::FindSyllable(std::string_view syllable) const {
  const auto it = syllableIds_.find(std::string(syllable));
  if (it == syllableIds_.end()) return std::nullopt;
  return it->second;
}

std::optional<SyllableId> PhraseData::PairReading(char32_t first, char32_t second,
                                                  int which) const {
  const char32_t standing = which == 1 ? first : second;
  if (standing < 0x10000 && !pairedCharacters_[standing]) return std::nullopt;
  const SyllableId* id = pairs_.Find(PairKey(first, second, which));
  if (id == nullptr) return std::nullopt;
  return *id;
}

std::size_t PhraseData::MemoryBytes() const {
  std::size_t bytes = words_.capacity() * sizeof(Word) + characters_.capacity() * 4 +
                      thirdCharacters_.capacity() * 4 + prefixes_.MemoryBytes() +
                      bmpFirst_.capacity() * sizeof(FirstCharacter) + readings_.capacity() * 2 +
                      spokenReadings_.capacity() * 2 + bmpDefaults_.capacity() * 2 +
                      defaults_.MemoryBytes() + pairs_.MemoryBytes() +
                      pairedCharacters_.capacity() / 8;
  for (const std::string& s : syllables_) bytes += sizeof(std::string) + s.capacity();
  return bytes;
}

}  // namespace tolvane
