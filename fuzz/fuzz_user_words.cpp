// The user's own words read from arbitrary bytes, as user_words.txt and as an imported
// spreadsheet (tab-separated values). Properties: every entry kept has one numbered syllable
// (or "-") per character and a word of its own; every line passed over is named by a problem
// on a line of the text; and a list read either way survives being saved either way: written
// as user_words.txt (through a file) or exported as TSV, it reads back as the same list with no
// problem, so nothing the user gave is lost between the panel, the file and a spreadsheet.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "FuzzInput.h"
#include "platform/UnicodeText.h"
#include "reading/shared/UserWordList.h"

using namespace tolvane;

namespace {

std::size_t CodePoints(std::string_view utf8) {
  std::size_t count = 0;
  unicode::ForEachCodePoint(utf8, [&](std::string_view, char32_t) { ++count; });
  return count;
}

// Lines as the lists count them: at CR LF, a lone CR or a lone LF.
std::size_t LineCount(std::string_view text) {
  std::size_t count = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
      ++count;
  }
  return count;
}

// The lines of user_words.txt that hold a word: neither blank nor a comment. Each of them gives
// an entry or a problem.
std::size_t WordLineCount(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  text = text.substr(0, text.find('\0'));  // a NUL ends the text
  std::size_t count = 0;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    std::string_view line = text.substr(0, end);
    const std::size_t first = line.find_first_not_of(" \t\v\f");
    if (first != std::string_view::npos && line[first] != '#') ++count;
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
  }
  return count;
}

void CheckWellFormed(const UserWordParse& parse, std::string_view text) {
  std::set<std::string> words;
  for (const UserWordEntry& entry : parse.list.Entries()) {
    FUZZ_CHECK(!entry.word.empty());
    FUZZ_CHECK(words.insert(entry.word).second);
    FUZZ_CHECK(entry.syllables.size() == CodePoints(entry.word));
    for (const std::string& syllable : entry.syllables)
      FUZZ_CHECK(syllable == kNoSyllable || NumberedSyllable(syllable) == syllable);
    FUZZ_CHECK(parse.list.Find(entry.word) == &entry);
  }
  for (const UserWordProblem& problem : parse.problems) {
    FUZZ_CHECK(problem.file == "words");
    FUZZ_CHECK(problem.line >= 1 && problem.line <= LineCount(text));
    FUZZ_CHECK(!problem.reason.empty());
  }
}

// The list saved as user_words.txt and as TSV reads back whole, without a problem.
void CheckSavedBothWays(const UserWordList& list, const std::filesystem::path& file) {
  const UserWordParse text = ParseUserWords(UserWordsText(list), "saved");
  FUZZ_CHECK(text.problems.empty());
  FUZZ_CHECK(text.list == list);
  const UserWordParse tsv = ParseUserWordsTsv(UserWordsTsv(list), "exported");
  FUZZ_CHECK(tsv.problems.empty());
  FUZZ_CHECK(tsv.list == list);
  WriteUserWords(list, file);
  const UserWordParse read = ReadUserWords(file);
  FUZZ_CHECK(read.problems.empty());
  FUZZ_CHECK(read.list == list);
  std::filesystem::remove(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path file =
      std::filesystem::temp_directory_path() /
      ("tolvane-fuzz-user-words-" + std::to_string(getpid()) + ".txt");
  fuzz::FuzzInput input(data, size);
  const bool asTsv = (input.Byte() & 1) != 0;
  const std::string_view text = input.Rest();
  const UserWordParse parse =
      asTsv ? ParseUserWordsTsv(text, "words") : ParseUserWords(text, "words");
  CheckWellFormed(parse, text);
  if (!asTsv) FUZZ_CHECK(parse.list.size() + parse.problems.size() == WordLineCount(text));
  CheckSavedBothWays(parse.list, file);
  return 0;
}
