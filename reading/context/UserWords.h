#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "reading/context/PhraseDataFiles.h"
#include "reading/shared/CustomDictionary.h"
#include "reading/shared/UserWordList.h"

// The words that reading by context prefers wherever they occur: the entries of a user dictionary
// whose keys have two or more characters (compound surnames such as 欧阳 Ouyang), each with one
// reading per character cut from the user's reading text (SplitUserReading), and the user's own
// words of any length (UserWordList), each with its syllables.
namespace tolvane {

class PhraseData;

// Cuts a user's reading (code page 936 text, handed out unchanged otherwise) into one piece per
// character of a `count`-character word: at blanks or apostrophes when that gives `count`
// pieces; else into pinyin syllables ("Ouyang" -> "Ou", "yang"; letters in either case, tone
// marks and tone digits allowed) when exactly `count` of them make up the text; else the whole
// reading for the first character and the not-found reading " " for the others. `syllables`
// holds the toneless syllables that count as pinyin.
std::vector<std::string> SplitUserReading(std::string_view reading, std::size_t count,
                                          const std::unordered_set<std::string>& syllables);

class UserWords {
 public:
  UserWords(const CustomDictionary& dictionary, const std::unordered_set<std::string>& syllables);
  // The same, then the user's own words that `data` can read: their syllables become the data's
  // ids. A word the dictionary already has (the same characters) stays the dictionary's, and a
  // one-character word counts too (the dictionary's own one-character entries still replace
  // it where they stand: ReadByContext).
  UserWords(const CustomDictionary& dictionary, const std::unordered_set<std::string>& syllables,
            const UserWordList& own, const PhraseData& data);

  struct Word {
    std::vector<char32_t> characters;
    // One per character: code page 936 text for a dictionary's word; for an own word its
    // numbered syllable, or "-" where it gives the character no reading.
    std::vector<std::string> readings;
    // An own word's syllables as the data's ids, one per character; kDefaultSyllable where the
    // word gives none or the data has no such syllable (the numbered text is read then). Empty
    // for a dictionary's word.
    std::vector<SyllableId> syllables;
  };

  // Calls visit(const Word&) for every user word that `text` starts with.
  template <typename Visit>
  void ForEachWordAt(std::span<const char32_t> text, Visit&& visit) const {
    if (text.empty()) return;
    const auto found = byFirst_.find(text[0]);
    if (found == byFirst_.end()) return;
    for (const std::size_t index : found->second) {
      const Word& word = words_[index];
      if (word.characters.size() <= text.size() &&
          std::equal(word.characters.begin(), word.characters.end(), text.begin()))
        visit(word);
    }
  }

  bool empty() const { return words_.empty(); }

 private:
  void Add(Word word);

  std::vector<Word> words_;
  std::unordered_map<char32_t, std::vector<std::size_t>> byFirst_;
};

}  // namespace tolvane
