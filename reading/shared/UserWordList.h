#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The user's own words: words of any number of characters (UTF-8, so any character, traditional
// and beyond the Basic Multilingual Plane too) with one pinyin syllable per character, which
// reading by context takes wherever they occur.
//
// The file, user_words.txt beside the user dictionaries, is UTF-8 text (a byte order mark is
// allowed), one word a line: the word, a tab or spaces, then its syllables separated by spaces.
// Blank lines and lines whose first character other than a blank is # are passed over:
//
//   # my words
//   银行	yin2 hang2
//   重庆 chóng qìng
//   卡拉OK ka3 la1 - -
//
// A syllable is numbered pinyin ("yin2", tone 5 or 0 for a light syllable, "lv4" or "lu:4" for
// lü) or pinyin with tone marks ("yín", "lǜ"; precomposed or combining marks); a syllable with
// neither a mark nor a digit is light. Capitals count as small letters. Every syllable is kept
// numbered, ü written v ("lv4", but "lue4" and "nue4" as the phrase data spells them). A "-"
// gives its character no reading, as a character that no data reads (a letter, a digit). A line
// that breaks a rule is reported (UserWordProblem) and passed over; the good lines around it
// stay. A word given twice keeps its first line, as a user dictionary keeps its first entry.
namespace tolvane {

inline constexpr const char* kUserWordsFile = "user_words.txt";

// The syllable that stands for "no reading" in a word's readings.
inline constexpr std::string_view kNoSyllable = "-";

struct UserWordEntry {
  std::string word;                    // UTF-8, no blanks
  std::vector<std::string> syllables;  // numbered, one per character (code point), or "-"

  // The syllables joined by single spaces, as the file writes them.
  std::string SyllableText() const;
  bool operator==(const UserWordEntry&) const = default;
};

// A line that was passed over: where, and why (English text for the user).
struct UserWordProblem {
  std::filesystem::path file;  // empty for text that came from no file
  std::size_t line = 0;        // from 1; 0 for the file as a whole (it cannot be read)
  std::string reason;
  bool operator==(const UserWordProblem&) const = default;
};

// A syllable as the list keeps it: numbered, ü as v ("lǜ" -> "lv4", "nüè" -> "nue4", "de" ->
// "de5", "kNoSyllable" stays); none when `text` is no pinyin syllable.
std::optional<std::string> NumberedSyllable(std::string_view text);

// Whether `toneless` (small letters, ü as v, no tone) is a syllable of Mandarin pinyin.
bool IsPinyinSyllable(std::string_view toneless);

// An entry made from a word and its syllables as a user writes them; none, with the reason in
// `reason`, when the word is empty, holds a blank, begins with # (the file's comments) or is not
// UTF-8, when a syllable is no pinyin, or when there are not as many syllables as characters.
std::optional<UserWordEntry> MakeUserWordEntry(std::string_view word, std::string_view syllables,
                                               std::string* reason = nullptr);

// The user's words in the order they were given; a word appears at most once.
class UserWordList {
 public:
  UserWordList() = default;

  const std::vector<UserWordEntry>& Entries() const { return entries_; }
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

  // The entry of `word`, or null.
  const UserWordEntry* Find(std::string_view word) const;
  // Adds the entry at the end, or gives the word already there the entry's syllables in place.
  void Set(UserWordEntry entry);
  // Removes the entry of `word`; false when there is none.
  bool Remove(std::string_view word);

  bool operator==(const UserWordList&) const = default;

 private:
  std::vector<UserWordEntry> entries_;
};

// The words of a text or file, and the lines that were passed over.
struct UserWordParse {
  UserWordList list;
  std::vector<UserWordProblem> problems;
};

// The words of user_words.txt text; `file` names it in the problems.
UserWordParse ParseUserWords(std::string_view text, const std::filesystem::path& file = {});

// The words of `file`: none and no problem when it does not exist; one problem on line 0 with the
// system's reason when it exists but cannot be read. Never raises for the file's content.
UserWordParse ReadUserWords(const std::filesystem::path& file);

// The list as user_words.txt text: a comment saying what the file is, then one line per entry,
// the word, a tab and its syllables; lines end with LF. ParseUserWords gives the list back.
std::string UserWordsText(const UserWordList& list);

// Writes UserWordsText to `file`: written whole beside it under a scratch name, then renamed over
// it, so the file is always the old or the new one, never part of either. A failure raises the
// file error of its cause and leaves the old file as it was.
void WriteUserWords(const UserWordList& list, const std::filesystem::path& file);

// Tab-separated values, as spreadsheets read and write them: one entry a line, the word, a tab,
// the syllables (separated by spaces); further columns and quotes around a field are passed over.
// A first line whose second column is not pinyin (a header such as "word<TAB>pinyin") is passed
// over without a problem. Problems name `file` and the line as ParseUserWords does.
UserWordParse ParseUserWordsTsv(std::string_view text, const std::filesystem::path& file = {});

// The list as tab-separated values with the header line "word<TAB>pinyin"; lines end with LF.
std::string UserWordsTsv(const UserWordList& list);

}  // namespace tolvane
