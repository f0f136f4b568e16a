#include "reading/context/PhraseData.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <numeric>

#include "platform/Error.h"
#include "platform/TextFile.h"
#include "platform/UnicodeText.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace tolvane {

// Builds a PhraseData from the two files' text.
class PhraseDataBuilder {
 public:
  explicit PhraseDataBuilder(PhraseData& data) : data_(data) {}

  void ReadWords(std::string_view text, const std::filesystem::path& file) {
    // Room for everything at once: growing step by step would leave the process holding the
    // memory of every smaller step. A line takes well over eight bytes, a character at least
    // three; pages reserved but never touched cost nothing.
    entries_.reserve(text.size() / 8 + 1);
    codePoints_.reserve(text.size() / 3 + 1);
    readings_.reserve(text.size() / 3 + 1);
    ForEachDataLine(text, file, [&](std::string_view line, std::size_t number) {
      const auto fields = Fields(line, 3, file, number);
      Entry entry;
      entry.cpBegin = static_cast<std::uint32_t>(codePoints_.size());
      AppendCodePoints(fields[0], file, number);
      if (codePoints_.size() - entry.cpBegin > 0xFFFF) Fail(file, number, "the word is too long");
      entry.cpLength = static_cast<std::uint16_t>(codePoints_.size() - entry.cpBegin);
      const auto [end, error] =
          std::from_chars(fields[1].data(), fields[1].data() + fields[1].size(), entry.frequency);
      if (error != std::errc() || end != fields[1].data() + fields[1].size() ||
          entry.frequency == 0)
        Fail(file, number, "the frequency is not a whole number from 1 to 4294967295");
      // Readings stand in step with the code points: a word's first syllable is at cpBegin.
      AppendSyllables(fields[2], file, number);
      if (readings_.size() != codePoints_.size())
        Fail(file, number, "not one syllable per character");
      entry.line = static_cast<std::uint32_t>(number);
      entries_.push_back(entry);
    });
  }

  void ReadCharacters(std::string_view text, const std::filesystem::path& file) {
    ForEachDataLine(text, file, [&](std::string_view line, std::size_t number) {
      const auto fields = Fields(line, 2, file, number);
      const auto [cp] = ExactCodePoints<1>(fields[0], file, number, "not one character");
      characterDefaults_.emplace_back(cp, OneSyllable(fields[1], file, number));
    });
  }

  void ReadPairs(std::string_view text, const std::filesystem::path& file) {
    data_.pairedCharacters_.assign(0x10000, false);
    ForEachDataLine(text, file, [&](std::string_view line, std::size_t number) {
      const auto fields = Fields(line, 3, file, number);
      const auto [first, second] =
          ExactCodePoints<2>(fields[0], file, number, "not two characters");
      if (fields[1] != "1" && fields[1] != "2") Fail(file, number, "not 1 or 2");
      const SyllableId id =
          fields[2] == "*" ? kDisputedSyllable : OneSyllable(fields[2], file, number);
      const int which = fields[1] == "1" ? 1 : 2;
      pairs_.emplace_back(PhraseData::PairKey(first, second, which), id);
      const char32_t standing = which == 1 ? first : second;
      if (standing < 0x10000) data_.pairedCharacters_[standing] = true;
    });
  }

  // Open addressing tables are kept at most about three quarters full: a probe or two per
  // lookup, in half the memory of a half-full one.
  static std::size_t OpenTableSize(std::size_t count) {
    std::size_t size = 16;
    while (size * 3 < count * 4) size *= 2;
    return size;
  }

  void BuildPairTable() {
    const std::size_t size = OpenTableSize(pairs_.size());
    data_.pairKeys_.assign(size, PhraseData::kNoPair);
    data_.pairValues_.assign(size, 0);
    for (const auto& [key, id] : pairs_) {
      std::size_t slot = PhraseData::PairSlot(key, size);
      while (data_.pairKeys_[slot] != PhraseData::kNoPair && data_.pairKeys_[slot] != key)
        slot = (slot + 1) & (size - 1);
      data_.pairKeys_[slot] = key;
      data_.pairValues_[slot] = id;
    }
  }

  void BuildPrefixTable() {
    const auto& words = data_.words_;
    std::vector<std::pair<std::uint64_t, std::pair<std::uint32_t, std::uint32_t>>> prefixes;
    for (std::uint32_t i = 0; i < words.size();) {
      if (words[i].length < 2) {
        ++i;
        continue;
      }
      const char32_t a = data_.characters_[words[i].begin];
      const char32_t b = data_.characters_[words[i].begin + 1];
      std::uint32_t j = i + 1;
      while (j < words.size() && words[j].length >= 2 && data_.characters_[words[j].begin] == a &&
             data_.characters_[words[j].begin + 1] == b)
        ++j;
      prefixes.push_back({PhraseData::PrefixKey(a, b), {i, j}});
      i = j;
    }
    const std::size_t size = OpenTableSize(prefixes.size());
    data_.prefixKeys_.assign(size, PhraseData::kNoPair);
    data_.prefixRanges_.assign(size, {0, 0});
    for (const auto& [key, range] : prefixes) {
      std::size_t slot = PhraseData::PairSlot(key, size);
      while (data_.prefixKeys_[slot] != PhraseData::kNoPair) slot = (slot + 1) & (size - 1);
      data_.prefixKeys_[slot] = key;
      data_.prefixRanges_[slot] = range;
    }
  }

  void Build(const std::filesystem::path& wordsFile) {
    BuildPairTable();
    // Words in code point order, so that the words sharing a beginning stand together.
    const auto less = [&](const Entry& x, const Entry& y) {
      return std::lexicographical_compare(Cps(x).begin(), Cps(x).end(), Cps(y).begin(),
                                          Cps(y).end());
    };
    // Strictly increasing is sorted without repeats; only a file that is not needs more work.
    bool increasing = true;
    for (std::size_t i = 1; i < entries_.size() && increasing; ++i)
      increasing = less(entries_[i - 1], entries_[i]);
    if (!increasing) {
      std::stable_sort(entries_.begin(), entries_.end(), less);
      for (std::size_t i = 1; i < entries_.size(); ++i) {
        if (std::ranges::equal(Cps(entries_[i - 1]), Cps(entries_[i])))
          Fail(wordsFile, entries_[i].line, "the word is given twice");
      }
    }

    const double total =
        std::accumulate(entries_.begin(), entries_.end(), 0.0,
                        [](double sum, const Entry& e) { return sum + e.frequency; });
    const double logTotal = std::log(std::max(total, 1.0));
    // A character that is no word counts as a word seen once, as in jieba.
    data_.unknownLogProbability_ = -logTotal;

    // The words in sorted order. As the generator writes them sorted, their characters and
    // readings already stand in that order and are taken over as they are.
    const bool inFileOrder =
        std::is_sorted(entries_.begin(), entries_.end(),
                       [](const Entry& x, const Entry& y) { return x.cpBegin < y.cpBegin; });
    data_.words_.reserve(entries_.size());
    if (!inFileOrder) {
      data_.characters_.reserve(codePoints_.size());
      data_.readings_.reserve(readings_.size());
    }
    // Most words share a few small frequencies; their logarithms are worked out once each.
    std::vector<float> smallLogs(1 << 16, 1.0f);
    for (const Entry& entry : entries_) {
      float logProbability;
      if (entry.frequency < smallLogs.size()) {
        float& known = smallLogs[entry.frequency];
        if (known > 0.0f)
          known = static_cast<float>(std::log(static_cast<double>(entry.frequency)) - logTotal);
        logProbability = known;
      } else {
        logProbability =
            static_cast<float>(std::log(static_cast<double>(entry.frequency)) - logTotal);
      }
      if (inFileOrder) {
        data_.words_.push_back({entry.cpBegin, entry.cpLength, logProbability});
        continue;
      }
      data_.words_.push_back(
          {static_cast<std::uint32_t>(data_.characters_.size()), entry.cpLength, logProbability});
      data_.characters_.insert(data_.characters_.end(), codePoints_.begin() + entry.cpBegin,
                               codePoints_.begin() + entry.cpBegin + entry.cpLength);
      data_.readings_.insert(data_.readings_.end(), readings_.begin() + entry.cpBegin,
                             readings_.begin() + entry.cpBegin + entry.cpLength);
    }
    if (inFileOrder) {
      data_.characters_.assign(codePoints_.begin(), codePoints_.end());
      data_.readings_.assign(readings_.begin(), readings_.end());
    }
    data_.thirdCharacters_.resize(data_.words_.size());
    for (std::size_t w = 0; w < data_.words_.size(); ++w) {
      const auto& word = data_.words_[w];
      data_.thirdCharacters_[w] = word.length > 2 ? data_.characters_[word.begin + 2] : 0;
    }
    BuildPrefixTable();
    data_.bmpFirst_.assign(0x10000, {});
    for (std::uint32_t i = 0; i < data_.words_.size(); ++i) {
      const char32_t cp = data_.characters_[data_.words_[i].begin];
      if (cp >= 0x10000) continue;
      if (data_.words_[i].length == 1) {
        data_.bmpFirst_[cp].single = static_cast<std::int32_t>(i);
      } else {
        data_.bmpFirst_[cp].longer = true;
      }
    }

    // Default readings: a word file's one-character line first, then the characters file.
    data_.bmpDefaults_.assign(0x10000, 0);
    const auto setDefault = [&](char32_t cp, SyllableId id) {
      if (cp < 0x10000) {
        if (data_.bmpDefaults_[cp] == 0) data_.bmpDefaults_[cp] = static_cast<SyllableId>(id + 1);
      } else {
        data_.defaults_.try_emplace(cp, id);
      }
    };
    for (const Entry& entry : entries_) {
      const SyllableId id = readings_[entry.cpBegin];
      if (entry.cpLength == 1 && id != kDefaultSyllable) setDefault(codePoints_[entry.cpBegin], id);
    }
    for (const auto& [cp, id] : characterDefaults_) setDefault(cp, id);
  }

 private:
  struct Entry {
    std::uint32_t cpBegin = 0;
    std::uint32_t frequency = 0;
    std::uint32_t line = 0;
    std::uint16_t cpLength = 0;
  };

  std::span<const char32_t> Cps(const Entry& e) const {
    return {codePoints_.data() + e.cpBegin, e.cpLength};
  }

  // The files are written by the generator with LF line ends; a CR before one is dropped.
  template <typename OnLine>
  static void ForEachDataLine(std::string_view text, const std::filesystem::path&,
                              OnLine&& onLine) {
    std::size_t number = 0;
    for (std::size_t begin = 0; begin < text.size();) {
      const void* found = std::memchr(text.data() + begin, '\n', text.size() - begin);
      const std::size_t end =
          found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data())
                : text.size();
      std::string_view line = text.substr(begin, end - begin);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      ++number;
      if (!line.empty() && line.front() != '#') onLine(line, number);
      begin = end + 1;
    }
  }

  [[noreturn]] static void Fail(const std::filesystem::path& file, std::size_t line,
                                const std::string& what) {
    throw Error(file.string() + ":" + std::to_string(line) + ": " + what, file);
  }

  static std::array<std::string_view, 3> Fields(std::string_view line, std::size_t count,
                                                const std::filesystem::path& file,
                                                std::size_t number) {
    std::array<std::string_view, 3> fields;
    std::size_t found = 0;
    for (std::size_t begin = 0;;) {
      const std::size_t tab = line.find('\t', begin);
      if (found < fields.size())
        fields[found] = line.substr(begin, tab == std::string_view::npos ? tab : tab - begin);
      ++found;
      if (tab == std::string_view::npos) break;
      begin = tab + 1;
    }
    if (found != count || fields[0].empty())
      Fail(file, number, "expected " + std::to_string(count) + " fields separated by TABs");
    return fields;
  }

  void AppendCodePoints(std::string_view utf8, const std::filesystem::path& file,
                        std::size_t number) {
    for (std::size_t pos = 0; pos < utf8.size();) {
      // Nearly every character is a three-byte one of the common ideographs.
      const auto b0 = static_cast<unsigned char>(utf8[pos]);
      if (b0 >= 0xE1 && b0 <= 0xEC && pos + 2 < utf8.size() &&
          (static_cast<unsigned char>(utf8[pos + 1]) & 0xC0) == 0x80 &&
          (static_cast<unsigned char>(utf8[pos + 2]) & 0xC0) == 0x80) {
        codePoints_.push_back(unicode::CodePointAt(utf8, pos, 3));
        pos += 3;
        continue;
      }
      const std::size_t length = unicode::WellFormedUtf8Length(utf8, pos);
      if (length == 0) Fail(file, number, "not UTF-8");
      codePoints_.push_back(unicode::CodePointAt(utf8, pos, length));
      pos += length;
    }
  }

  void AppendSyllables(std::string_view field, const std::filesystem::path& file,
                       std::size_t number) {
    for (std::size_t begin = 0; begin <= field.size();) {
      std::size_t end = begin;
      while (end < field.size() && field[end] != ' ') ++end;
      const std::string_view syllable = field.substr(begin, end - begin);
      if (syllable.empty()) Fail(file, number, "an empty syllable");
      readings_.push_back(syllable == "-" ? kDefaultSyllable : SyllableIdOf(syllable));
      begin = end + 1;
    }
  }

  // The code points of a field that must hold exactly N characters.
  template <std::size_t N>
  std::array<char32_t, N> ExactCodePoints(std::string_view field, const std::filesystem::path& file,
                                          std::size_t number, const char* what) {
    const std::size_t before = codePoints_.size();
    AppendCodePoints(field, file, number);
    if (codePoints_.size() - before != N) Fail(file, number, what);
    std::array<char32_t, N> out;
    std::copy(codePoints_.begin() + before, codePoints_.end(), out.begin());
    codePoints_.resize(before);
    return out;
  }

  // The syllable of a field that must hold exactly one, not "-".
  SyllableId OneSyllable(std::string_view field, const std::filesystem::path& file,
                         std::size_t number) {
    const std::size_t before = readings_.size();
    AppendSyllables(field, file, number);
    if (readings_.size() - before != 1 || readings_.back() == kDefaultSyllable)
      Fail(file, number, "not one syllable");
    const SyllableId id = readings_.back();
    readings_.resize(before);
    return id;
  }

  SyllableId SyllableIdOf(std::string_view syllable) {
    // Syllables are short: one of up to eight bytes is its own key, found in a small table by
    // open addressing, which a million lookups a load can afford.
    if (syllable.size() > 8) return NewOrKnownSyllable(syllable);
    std::uint64_t packed = 0;
    std::memcpy(&packed, syllable.data(), syllable.size());
    std::size_t slot = (packed * 0x9E3779B97F4A7C15ULL) >> (64 - kPackedBits);
    while (packedKeys_[slot] != 0 && packedKeys_[slot] != packed)
      slot = (slot + 1) & (packedKeys_.size() - 1);
    if (packedKeys_[slot] == packed) return packedIds_[slot];
    const SyllableId id = NewOrKnownSyllable(syllable);
    if (++packedCount_ * 2 > packedKeys_.size()) return id;  // full enough: no more caching
    packedKeys_[slot] = packed;
    packedIds_[slot] = id;
    return id;
  }

  SyllableId NewOrKnownSyllable(std::string_view syllable) {
    const auto it = data_.syllableIds_.find(std::string(syllable));
    if (it != data_.syllableIds_.end()) return it->second;
    if (data_.syllables_.size() >= kDisputedSyllable)
      throw Error("too many syllables in the phrase data");
    const auto id = static_cast<SyllableId>(data_.syllables_.size());
    data_.syllables_.emplace_back(syllable);
    data_.syllableIds_.emplace(std::string(syllable), id);
    return id;
  }

  PhraseData& data_;
  std::vector<char32_t> codePoints_;
  std::vector<SyllableId> readings_;
  std::vector<Entry> entries_;
  std::vector<std::pair<char32_t, SyllableId>> characterDefaults_;
  std::vector<std::pair<std::uint64_t, SyllableId>> pairs_;
  static constexpr unsigned kPackedBits = 13;
  std::vector<std::uint64_t> packedKeys_ = std::vector<std::uint64_t>(1u << kPackedBits, 0);
  std::vector<SyllableId> packedIds_ = std::vector<SyllableId>(1u << kPackedBits, 0);
  std::size_t packedCount_ = 0;
};

std::unique_ptr<PhraseData> PhraseData::Load(const std::filesystem::path& wordsFile,
                                             const std::filesystem::path& pairsFile,
                                             const std::filesystem::path& charactersFile) {
  auto data = std::unique_ptr<PhraseData>(new PhraseData());
  {
    PhraseDataBuilder builder(*data);
    builder.ReadWords(ReadFileBytes(wordsFile).view(), wordsFile);
    builder.ReadPairs(ReadFileBytes(pairsFile).view(), pairsFile);
    builder.ReadCharacters(ReadFileBytes(charactersFile).view(), charactersFile);
    builder.Build(wordsFile);
  }
#ifdef __GLIBC__
  // The builder's scratch memory goes back to the system rather than stay with the process.
  malloc_trim(0);
#endif
  return data;
}

std::pair<std::uint32_t, std::uint32_t> PhraseData::WordsBeginningWith(char32_t cp) const {
  std::uint32_t first = 0;
  auto last = static_cast<std::uint32_t>(words_.size());
  Narrow(first, last, 0, cp);
  return {first, last};
}

std::pair<std::uint32_t, std::uint32_t> PhraseData::WordsBeginningWith(char32_t first,
                                                                       char32_t second) const {
  const std::uint64_t key = PrefixKey(first, second);
  for (std::size_t slot = PairSlot(key, prefixKeys_.size());;
       slot = (slot + 1) & (prefixKeys_.size() - 1)) {
    if (prefixKeys_[slot] == key) return prefixRanges_[slot];
    if (prefixKeys_[slot] == kNoPair) return {0, 0};
  }
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
  const auto it = defaults_.find(cp);
  if (it == defaults_.end()) return std::nullopt;
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
  if (pairKeys_.empty()) return std::nullopt;
  const std::uint64_t key = PairKey(first, second, which);
  for (std::size_t slot = PairSlot(key, pairKeys_.size());;
       slot = (slot + 1) & (pairKeys_.size() - 1)) {
    if (pairKeys_[slot] == key) return pairValues_[slot];
    if (pairKeys_[slot] == kNoPair) return std::nullopt;
  }
}

std::size_t PhraseData::MemoryBytes() const {
  std::size_t bytes = words_.capacity() * sizeof(Word) + characters_.capacity() * 4 +
                      thirdCharacters_.capacity() * 4 + prefixKeys_.capacity() * 8 +
                      prefixRanges_.capacity() * 8 + bmpFirst_.capacity() * sizeof(FirstCharacter) +
                      readings_.capacity() * 2 + bmpDefaults_.capacity() * 2 +
                      defaults_.size() * 32 + pairKeys_.capacity() * 8 +
                      pairValues_.capacity() * 2 + pairedCharacters_.capacity() / 8;
  for (const std::string& s : syllables_) bytes += sizeof(std::string) + s.capacity();
  return bytes;
}

}  // namespace tolvane
