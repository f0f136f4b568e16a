#include "reading/context/PhraseDataFiles.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "platform/Error.h"
#include "platform/TextFile.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

[[noreturn]] void Fail(const std::filesystem::path& file, std::size_t line,
                       const std::string& what) {
  throw Error(file.string() + ":" + std::to_string(line) + ": " + what, file);
}

// Calls onLine(line, number) for every line that is neither empty nor a comment. The files are
// written by the generator with LF line ends; a CR before one is dropped.
template <typename OnLine>
void ForEachDataLine(std::string_view text, OnLine&& onLine) {
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

// The line's `count` fields (two or three), the first not empty.
std::array<std::string_view, 3> Fields(std::string_view line, std::size_t count,
                                       const std::filesystem::path& file, std::size_t number) {
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

}  // namespace

void PhraseFileParser::ParseWords(std::string_view text, const std::filesystem::path& file) {
  // Room for everything at once: growing step by step would leave the process holding the
  // memory of every smaller step. A line takes well over eight bytes, a character at least
  // three; pages reserved but never touched cost nothing.
  records_.words.reserve(records_.words.size() + text.size() / 8 + 1);
  records_.characters.reserve(records_.characters.size() + text.size() / 3 + 1);
  records_.readings.reserve(records_.readings.size() + text.size() / 3 + 1);
  ForEachDataLine(text, [&](std::string_view line, std::size_t number) {
    const auto fields = Fields(line, 3, file, number);
    PhraseRecords::Word word;
    word.begin = static_cast<std::uint32_t>(records_.characters.size());
    AppendCodePoints(fields[0], file, number);
    if (records_.characters.size() - word.begin > 0xFFFF)
      Fail(file, number, "the word is too long");
    word.length = static_cast<std::uint16_t>(records_.characters.size() - word.begin);
    const auto [end, error] =
        std::from_chars(fields[1].data(), fields[1].data() + fields[1].size(), word.frequency);
    if (error != std::errc() || end != fields[1].data() + fields[1].size() || word.frequency == 0)
      Fail(file, number, "the frequency is not a whole number from 1 to 4294967295");
    // Readings stand in step with the characters: a word's first syllable is at its begin.
    AppendSyllables(fields[2], file, number);
    if (records_.readings.size() != records_.characters.size())
      Fail(file, number, "not one syllable per character");
    word.line = static_cast<std::uint32_t>(number);
    records_.words.push_back(word);
  });
  SortWords(file);
}

void PhraseFileParser::SortWords(const std::filesystem::path& file) {
  auto& words = records_.words;
  const auto less = [&](const PhraseRecords::Word& x, const PhraseRecords::Word& y) {
    const auto a = records_.CharactersOf(x);
    const auto b = records_.CharactersOf(y);
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
  };
  // Strictly increasing is sorted without repeats; only a file that is not needs more work.
  bool increasing = true;
  for (std::size_t i = 1; i < words.size() && increasing; ++i)
    increasing = less(words[i - 1], words[i]);
  if (increasing) return;
  std::stable_sort(words.begin(), words.end(), less);
  for (std::size_t i = 1; i < words.size(); ++i) {
    if (std::ranges::equal(records_.CharactersOf(words[i - 1]), records_.CharactersOf(words[i])))
      Fail(file, words[i].line, "the word is given twice");
  }
}

void PhraseFileParser::ParsePairs(std::string_view text, const std::filesystem::path& file) {
  // A pair's line takes at least twelve bytes (two three-byte characters, two TABs, a digit, a
  // syllable, a line end): room for all of them at once.
  records_.pairs.reserve(records_.pairs.size() + text.size() / 12 + 1);
  ForEachDataLine(text, [&](std::string_view line, std::size_t number) {
    const auto fields = Fields(line, 3, file, number);
    const auto [first, second] = ExactCodePoints<2>(fields[0], file, number, "not two characters");
    if (fields[1] != "1" && fields[1] != "2") Fail(file, number, "not 1 or 2");
    const SyllableId reading =
        fields[2] == "*" ? kDisputedSyllable : OneSyllable(fields[2], file, number);
    records_.pairs.push_back(
        {first, second, static_cast<std::uint8_t>(fields[1] == "1" ? 1 : 2), reading});
  });
}

void PhraseFileParser::ParseCharacters(std::string_view text, const std::filesystem::path& file) {
  records_.characterReadings.reserve(records_.characterReadings.size() + text.size() / 8 + 1);
  ForEachDataLine(text, [&](std::string_view line, std::size_t number) {
    const auto fields = Fields(line, 2, file, number);
    const auto [character] = ExactCodePoints<1>(fields[0], file, number, "not one character");
    records_.characterReadings.push_back({character, OneSyllable(fields[1], file, number)});
  });
}

PhraseRecords PhraseFileParser::TakeRecords() {
  PhraseRecords records = std::move(records_);
  records_ = PhraseRecords();
  shortSyllableIds_ = OpenTable<SyllableId>(kShortSyllables);
  return records;
}

void PhraseFileParser::AppendCodePoints(std::string_view utf8, const std::filesystem::path& file,
                                        std::size_t line) {
  auto& out = records_.characters;
  for (std::size_t pos = 0; pos < utf8.size();) {
    // Nearly every character is a three-byte one of the common ideographs.
    const auto b0 = static_cast<unsigned char>(utf8[pos]);
    if (b0 >= 0xE1 && b0 <= 0xEC && pos + 2 < utf8.size() &&
        (static_cast<unsigned char>(utf8[pos + 1]) & 0xC0) == 0x80 &&
        (static_cast<unsigned char>(utf8[pos + 2]) & 0xC0) == 0x80) {
      out.push_back(unicode::CodePointAt(utf8, pos, 3));
      pos += 3;
      continue;
    }
    const std::size_t length = unicode::WellFormedUtf8Length(utf8, pos);
    if (length == 0) Fail(file, line, "not UTF-8");
    out.push_back(unicode::CodePointAt(utf8, pos, length));
    pos += length;
  }
}

void PhraseFileParser::AppendSyllables(std::string_view field, const std::filesystem::path& file,
                                       std::size_t line) {
  for (std::size_t begin = 0; begin <= field.size();) {
    std::size_t end = begin;
    while (end < field.size() && field[end] != ' ') ++end;
    std::string_view syllable = field.substr(begin, end - begin);
    if (syllable.empty()) Fail(file, line, "an empty syllable");
    if (syllable == "-") {
      records_.readings.push_back(kDefaultSyllable);
      records_.spokenReadings.push_back(kDefaultSyllable);
    } else if (const std::size_t colon = syllable.find(':'); colon == std::string_view::npos) {
      const SyllableId id = SyllableIdOf(syllable, file, line);
      records_.readings.push_back(id);
      records_.spokenReadings.push_back(id);
    } else {
      // "you3:5": the full tone, then the tone as spoken. Both must be tones of the same letters.
      const std::string_view full = syllable.substr(0, colon);
      const std::string_view tone = syllable.substr(colon + 1);
      if (full.size() < 2 || full.back() < '1' || full.back() > '5' || tone.size() != 1 ||
          tone[0] < '1' || tone[0] > '5')
        Fail(file, line,
             "a light syllable is not written as a numbered syllable, a colon and a tone");
      std::string spoken(full);
      spoken.back() = tone[0];
      records_.readings.push_back(SyllableIdOf(full, file, line));
      records_.spokenReadings.push_back(SyllableIdOf(spoken, file, line));
    }
    begin = end + 1;
  }
}

// The code points of a field that must hold exactly N characters.
template <std::size_t N>
std::array<char32_t, N> PhraseFileParser::ExactCodePoints(std::string_view field,
                                                          const std::filesystem::path& file,
                                                          std::size_t line, const char* what) {
  auto& characters = records_.characters;
  const std::size_t before = characters.size();
  AppendCodePoints(field, file, line);
  if (characters.size() - before != N) Fail(file, line, what);
  std::array<char32_t, N> out;
  std::copy(characters.begin() + before, characters.end(), out.begin());
  characters.resize(before);
  return out;
}

// The syllable of a field that must hold exactly one, not "-".
SyllableId PhraseFileParser::OneSyllable(std::string_view field, const std::filesystem::path& file,
                                         std::size_t line) {
  auto& readings = records_.readings;
  const std::size_t before = readings.size();
  AppendSyllables(field, file, line);
  if (readings.size() - before != 1 || readings.back() == kDefaultSyllable ||
      records_.spokenReadings.back() != readings.back())
    Fail(file, line, "not one syllable");
  const SyllableId id = readings.back();
  readings.resize(before);
  records_.spokenReadings.resize(before);
  return id;
}

SyllableId PhraseFileParser::SyllableIdOf(std::string_view syllable,
                                          const std::filesystem::path& file, std::size_t line) {
  // A syllable of up to seven bytes is its own key: its bytes, and its length in the top byte
  // (so that no key is the table's empty one, and "a" and "a\0" stay apart).
  if (syllable.size() >= 8) return SyllableIdByName(syllable, 0, file, line);
  std::uint64_t packed = std::uint64_t{syllable.size()} << 56;
  for (std::size_t i = 0; i < syllable.size(); ++i)
    packed |= std::uint64_t{static_cast<unsigned char>(syllable[i])} << (8 * i);
  if (const SyllableId* id = shortSyllableIds_.Find(packed)) return *id;
  return SyllableIdByName(syllable, packed, file, line);
}

SyllableId PhraseFileParser::SyllableIdByName(std::string_view syllable, std::uint64_t packed,
                                              const std::filesystem::path& file, std::size_t line) {
  SyllableId id;
  if (const auto it = records_.syllableIds.find(std::string(syllable));
      it != records_.syllableIds.end()) {
    id = it->second;
  } else {
    // A few ids stay free for the syllables the rules of speech add (PhraseData::Rules).
    if (records_.syllables.size() >= kDisputedSyllable - 16) Fail(file, line, "too many syllables");
    id = static_cast<SyllableId>(records_.syllables.size());
    records_.syllables.emplace_back(syllable);
    records_.syllableIds.emplace(std::string(syllable), id);
  }
  if (packed != 0 && shortSyllableIds_.size() < kShortSyllables)
    shortSyllableIds_.Insert(packed, id);
  return id;
}

PhraseRecords ReadPhraseFiles(const std::filesystem::path& wordsFile,
                              const std::filesystem::path& pairsFile,
                              const std::filesystem::path& charactersFile) {
  // One file's bytes at a time: only the records outlive their file.
  PhraseFileParser parser;
  parser.ParseWords(ReadFileBytes(wordsFile).view(), wordsFile);
  parser.ParsePairs(ReadFileBytes(pairsFile).view(), pairsFile);
  parser.ParseCharacters(ReadFileBytes(charactersFile).view(), charactersFile);
  return parser.TakeRecords();
}

}  // namespace tolvane
