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

// The arrays of data built from records, which its tables read.
struct PhraseData::Built {
  std::vector<PhraseWord> words;
  std::vector<char32_t> characters;
  std::vector<char32_t> thirdCharacters;
  std::vector<SyllableId> readings;
  std::vector<SyllableId> spokenReadings;
  std::vector<PhraseFirstCharacter> bmpFirst;
  std::vector<SyllableId> bmpDefaults;
  std::vector<std::uint64_t> pairedCharacters;
  OpenTable<PhraseWordRange> prefixes;
  OpenTable<SyllableId> defaults;
  OpenTable<SyllableId> pairs;
  double unknownLogProbability = -20.0;

  void BuildPairs(const std::vector<PhraseRecords::Pair>& pairRecords);
  void BuildWords(const PhraseRecords& records);
  void BuildPrefixes();
  void BuildDefaults(const PhraseRecords& records);

  std::size_t MemoryBytes() const {
    return words.capacity() * sizeof(PhraseWord) + characters.capacity() * 4 +
           thirdCharacters.capacity() * 4 + readings.capacity() * 2 +
           spokenReadings.capacity() * 2 + bmpFirst.capacity() * sizeof(PhraseFirstCharacter) +
           bmpDefaults.capacity() * 2 + pairedCharacters.capacity() * 8 + prefixes.MemoryBytes() +
           defaults.MemoryBytes() + pairs.MemoryBytes();
  }
};

std::unique_ptr<PhraseData> PhraseData::FromRecords(PhraseRecords records) {
  auto data = std::make_unique<PhraseData>();
  // The syllables the rules write are there whether or not the files name them.
  const auto intern = [&](const char* syllable) {
    const auto [it, added] =
        records.syllableIds.emplace(syllable, static_cast<SyllableId>(records.syllables.size()));
    if (added) records.syllables.emplace_back(syllable);
    return it->second;
  };
  const PhraseRuleSyllables rules{intern("yi1"), intern("yi2"), intern("yi4"),  intern("bu2"),
                                  intern("bu4"), intern("de5"), intern("dei3"), intern("zhe5"),
                                  intern("er5"), intern("r5")};
  data->syllables_ = std::move(records.syllables);
  data->syllableIds_ = std::move(records.syllableIds);

  auto built = std::make_shared<Built>();
  built->BuildPairs(records.pairs);
  std::vector<PhraseRecords::Pair>().swap(records.pairs);
  built->BuildWords(records);
  built->BuildDefaults(records);

  PhraseTables& tables = data->tables_;
  tables.words = built->words;
  tables.characters = built->characters;
  tables.thirdCharacters = built->thirdCharacters;
  tables.readings = built->readings;
  tables.spokenReadings = built->spokenReadings;
  tables.bmpFirst = built->bmpFirst;
  tables.bmpDefaults = built->bmpDefaults;
  tables.pairedCharacters = built->pairedCharacters;
  tables.prefixes = built->prefixes.View();
  tables.defaults = built->defaults.View();
  tables.pairs = built->pairs.View();
  tables.unknownLogProbability = built->unknownLogProbability;
  tables.rules = rules;
  data->storageBytes_ = built->MemoryBytes();
  data->storage_ = std::move(built);
  return data;
}

std::unique_ptr<PhraseData> PhraseData::FromTables(std::vector<std::string> syllables,
                                                   const PhraseTables& tables,
                                                   std::shared_ptr<const void> storage) {
  auto data = std::make_unique<PhraseData>();
  data->SetSyllables(std::move(syllables));
  data->tables_ = tables;
  const auto bytes = [](auto span) { return span.size_bytes(); };
  data->storageBytes_ =
      bytes(tables.words) + bytes(tables.characters) + bytes(tables.thirdCharacters) +
      bytes(tables.readings) + bytes(tables.spokenReadings) + bytes(tables.bmpFirst) +
      bytes(tables.bmpDefaults) + bytes(tables.pairedCharacters) + bytes(tables.prefixes.keys) +
      bytes(tables.prefixes.values) + bytes(tables.defaults.keys) + bytes(tables.defaults.values) +
      bytes(tables.pairs.keys) + bytes(tables.pairs.values);
  data->storage_ = std::move(storage);
  return data;
}

void PhraseData::SetSyllables(std::vector<std::string> syllables) {
  syllables_ = std::move(syllables);
  syllableIds_.clear();
  for (std::size_t id = 0; id < syllables_.size(); ++id)
    syllableIds_.emplace(syllables_[id], static_cast<SyllableId>(id));
}

void PhraseData::Built::BuildPairs(const std::vector<PhraseRecords::Pair>& pairRecords) {
  pairs = OpenTable<SyllableId>(pairRecords.size());
  pairedCharacters.assign(PhraseTables::kBmp / 64, 0);
  for (const PhraseRecords::Pair& pair : pairRecords) {
    const auto [reading, added] =
        pairs.Insert(PairKey(pair.first, pair.second, pair.which), pair.reading);
    if (!added) *reading = pair.reading;
    const char32_t standing = pair.which == 1 ? pair.first : pair.second;
    if (standing < 0x10000) pairedCharacters[standing / 64] |= std::uint64_t{1} << (standing % 64);
  }
}

void PhraseData::Built::BuildWords(const PhraseRecords& records) {
  const std::vector<PhraseRecords::Word>& wordRecords = records.words;
  const double total =
      std::accumulate(wordRecords.begin(), wordRecords.end(), 0.0,
                      [](double sum, const PhraseRecords::Word& w) { return sum + w.frequency; });
  const double logTotal = std::log(std::max(total, 1.0));
  // A character that is no word counts as a word seen once, as in jieba.
  unknownLogProbability = -logTotal;

  // The words in sorted order. As the generator writes them sorted, their characters and
  // readings already stand in that order and are taken over as they are.
  const bool inFileOrder = std::is_sorted(
      wordRecords.begin(), wordRecords.end(),
      [](const PhraseRecords::Word& x, const PhraseRecords::Word& y) { return x.begin < y.begin; });
  words.reserve(wordRecords.size());
  // Records made without light syllables are spoken as they are written.
  const std::vector<SyllableId>& spoken = records.spokenReadings.size() == records.readings.size()
                                              ? records.spokenReadings
                                              : records.readings;
  if (!inFileOrder) {
    characters.reserve(records.characters.size());
    readings.reserve(records.readings.size());
    spokenReadings.reserve(spoken.size());
  }
  // Most words share a few small frequencies; their logarithms are worked out once each.
  std::vector<float> smallLogs(1 << 16, 1.0f);
  for (const PhraseRecords::Word& word : wordRecords) {
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
      words.push_back({word.begin, word.length, 0, logProbability});
      continue;
    }
    words.push_back(
        {static_cast<std::uint32_t>(characters.size()), word.length, 0, logProbability});
    characters.insert(characters.end(), records.characters.begin() + word.begin,
                      records.characters.begin() + word.begin + word.length);
    readings.insert(readings.end(), records.readings.begin() + word.begin,
                    records.readings.begin() + word.begin + word.length);
    spokenReadings.insert(spokenReadings.end(), spoken.begin() + word.begin,
                          spoken.begin() + word.begin + word.length);
  }
  if (inFileOrder) {
    characters.assign(records.characters.begin(), records.characters.end());
    readings.assign(records.readings.begin(), records.readings.end());
    spokenReadings.assign(spoken.begin(), spoken.end());
  }
  thirdCharacters.resize(words.size());
  for (std::size_t w = 0; w < words.size(); ++w) {
    const PhraseWord& word = words[w];
    thirdCharacters[w] = word.length > 2 ? characters[word.begin + 2] : 0;
  }
  BuildPrefixes();
  bmpFirst.assign(PhraseTables::kBmp, {});
  for (std::uint32_t i = 0; i < words.size(); ++i) {
    const char32_t cp = characters[words[i].begin];
    if (cp >= 0x10000) continue;
    if (words[i].length == 1) {
      bmpFirst[cp].single = static_cast<std::int32_t>(i);
    } else {
      bmpFirst[cp].longer = 1;
    }
  }
}

void PhraseData::Built::BuildPrefixes() {
  // The words of two characters and more that share their first two stand together: one entry
  // for each run of them.
  std::vector<std::pair<std::uint64_t, PhraseWordRange>> runs;
  for (std::uint32_t i = 0; i < words.size();) {
    if (words[i].length < 2) {
      ++i;
      continue;
    }
    const char32_t a = characters[words[i].begin];
    const char32_t b = characters[words[i].begin + 1];
    std::uint32_t j = i + 1;
    while (j < words.size() && words[j].length >= 2 && characters[words[j].begin] == a &&
           characters[words[j].begin + 1] == b)
      ++j;
    runs.push_back({PrefixKey(a, b), {i, j}});
    i = j;
  }
  prefixes = OpenTable<PhraseWordRange>(runs.size());
  for (const auto& [key, range] : runs) prefixes.Insert(key, range);
}

void PhraseData::Built::BuildDefaults(const PhraseRecords& records) {
  // A word file's one-character line first, then the characters file.
  // Sized for the characters file; the rare one-character words beyond it grow the table.
  std::size_t beyondBmp = 0;
  for (const PhraseRecords::Character& c : records.characterReadings)
    beyondBmp += c.character >= 0x10000;
  defaults = OpenTable<SyllableId>(beyondBmp);
  bmpDefaults.assign(PhraseTables::kBmp, 0);
  const auto setDefault = [&](char32_t cp, SyllableId id) {
    if (cp < 0x10000) {
      if (bmpDefaults[cp] == 0) bmpDefaults[cp] = static_cast<SyllableId>(id + 1);
    } else {
      defaults.Insert(cp, id);
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
  auto last = static_cast<std::uint32_t>(tables_.words.size());
  Narrow(first, last, 0, cp);
  return {first, last};
}

std::pair<std::uint32_t, std::uint32_t> PhraseData::WordsBeginningWith(char32_t first,
                                                                       char32_t second) const {
  const auto* range = tables_.prefixes.Find(PrefixKey(first, second));
  if (range == nullptr || range->first > range->last || range->last > tables_.words.size())
    return {0, 0};
  return {range->first, range->last};
}

void PhraseData::Narrow(std::uint32_t& first, std::uint32_t& last, std::size_t depth,
                        char32_t cp) const {
  const char32_t* dense = depth == 2 ? tables_.thirdCharacters.data() : nullptr;
  const auto at = [&](std::uint32_t index) -> char32_t {
    if (dense != nullptr) return dense[index];
    // Every word here is longer than `depth` and lies within the characters in data built from
    // the files; a mapped image's words are checked here, where they are read, and one that is
    // shorter or lies beyond reads as ending there.
    const PhraseWord& word = tables_.words[index];
    return word.length > depth && std::uint64_t{word.begin} + depth < tables_.characters.size()
               ? tables_.characters[word.begin + depth]
               : 0;
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
    // Stored + 1, so that 0 is none; an id beyond the syllables (a mapped image's entries are
    // checked where they are read) is none too.
    const SyllableId stored = tables_.bmpDefaults[cp];
    if (stored == 0 || stored > syllables_.size()) return std::nullopt;
    return static_cast<SyllableId>(stored - 1);
  }
  const SyllableId* id = tables_.defaults.Find(cp);
  if (id == nullptr || *id >= syllables_.size()) return std::nullopt;
  return *id;
}

std::optional<SyllableId> PhraseData::FindSyllable(std::string_view syllable) const {
  const auto it = syllableIds_.find(std::string(syllable));
  if (it == syllableIds_.end()) return std::nullopt;
  return it->second;
}

std::optional<SyllableId> PhraseData::PairReading(char32_t first, char32_t second,
                                                  int which) const {
  const char32_t standing = which == 1 ? first : second;
  if (standing < 0x10000 && (tables_.pairedCharacters[standing / 64] >> (standing % 64) & 1) == 0)
    return std::nullopt;
  const SyllableId* id = tables_.pairs.Find(PairKey(first, second, which));
  if (id == nullptr || (*id >= syllables_.size() && *id != kDisputedSyllable)) return std::nullopt;
  return *id;
}

std::size_t PhraseData::MemoryBytes() const {
  std::size_t bytes = storageBytes_;
  for (const std::string& s : syllables_) bytes += sizeof(std::string) + s.capacity();
  return bytes;
}

}  // namespace tolvane
