// The phrase data's three files from arbitrary bytes: they load, or they raise the Error that
// names a file and one of its lines, and nothing else happens. Data that loads answers for every
// word of its words file and every syllable it names.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "FuzzInput.h"
#include "platform/Error.h"
#include "reading/context/PhraseData.h"
#include "reading/context/PhraseDataFiles.h"

using namespace tolvane;

namespace {

// Whether `message` is "<file>:<line>: <what>" for a line that `text` has.
bool NamesALineOf(std::string_view message, std::string_view file, std::string_view text) {
  if (message.substr(0, file.size()) != file || message.size() <= file.size() ||
      message[file.size()] != ':')
    return false;
  message.remove_prefix(file.size() + 1);
  std::size_t line = 0;
  std::size_t digits = 0;
  for (; digits < message.size() && message[digits] >= '0' && message[digits] <= '9'; ++digits)
    line = line * 10 + static_cast<std::size_t>(message[digits] - '0');
  const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  return digits > 0 && line >= 1 && line <= lines && message.substr(digits, 2) == ": " &&
         message.size() > digits + 2;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const std::string pairs = input.Bytes(255);
  const std::string characters = input.Bytes(255);
  const std::string words(input.Rest());

  PhraseRecords records;
  try {
    PhraseFileParser parser;
    parser.ParseWords(words, "w");
    parser.ParsePairs(pairs, "p");
    parser.ParseCharacters(characters, "c");
    records = parser.TakeRecords();
  } catch (const Error& error) {
    const std::string_view message = error.what();
    FUZZ_CHECK(NamesALineOf(message, "w", words) || NamesALineOf(message, "p", pairs) ||
               NamesALineOf(message, "c", characters));
    return 0;
  }

  // What the records say, asked of the loaded data.
  const PhraseRecords kept = records;
  const auto phrases = PhraseData::FromRecords(std::move(records));
  FUZZ_CHECK(phrases->WordCount() == kept.words.size());
  // The files' syllables keep their ids; the rules of speech add at most ten of their own.
  FUZZ_CHECK(phrases->SyllableCount() >= kept.syllables.size() &&
             phrases->SyllableCount() <= kept.syllables.size() + 10);
  const auto known = [&](SyllableId id) { return id < phrases->SyllableCount(); };
  for (std::size_t id = 0; id < kept.syllables.size(); ++id) {
    const std::string& syllable = phrases->Syllable(static_cast<SyllableId>(id));
    FUZZ_CHECK(syllable == kept.syllables[id]);
    FUZZ_CHECK(phrases->FindSyllable(syllable) == static_cast<SyllableId>(id));
  }
  for (const PhraseRecords::Word& word : kept.words) {
    const auto wordCharacters = kept.CharactersOf(word);
    bool found = false;
    phrases->ForEachWordAt(wordCharacters, [&](const PhraseData::WordMatch& match) {
      FUZZ_CHECK(match.length <= wordCharacters.size() && match.readings.size() == match.length);
      FUZZ_CHECK(match.logProbability <= 0.0);
      for (const SyllableId id : match.readings) FUZZ_CHECK(id == kDefaultSyllable || known(id));
      if (match.length == word.length) {
        found = true;
        FUZZ_CHECK(std::equal(match.readings.begin(), match.readings.end(),
                              kept.readings.begin() + word.begin));
      }
    });
    FUZZ_CHECK(found);
    for (const char32_t c : wordCharacters) {
      if (const auto id = phrases->DefaultReading(c)) FUZZ_CHECK(known(*id));
    }
  }
  for (const PhraseRecords::Pair& pair : kept.pairs) {
    const auto id = phrases->PairReading(pair.first, pair.second, pair.which);
    FUZZ_CHECK(id.has_value() && (*id == kDisputedSyllable || known(*id)));
  }
  for (const PhraseRecords::Character& c : kept.characterReadings) {
    const auto id = phrases->DefaultReading(c.character);
    FUZZ_CHECK(id.has_value() && known(*id));
  }
  return 0;
}
