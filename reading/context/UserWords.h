#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "reading/shared/CustomDictionary.h"

// The entries of a user dictionary whose keys have two or more characters (compound surnames
// such as 欧阳 Ouyang), as words that reading by context prefers wherever they occur. Each gets
// one reading per character, cut from the user's reading text (SplitUserReading).
namespace tolvane {

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

  struct Word {
    std::vector<char32_t> characters;
    std::vector<std::string> readings;  // one per character, code page 936 text
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
  std::vector<Word> words_;
  std::unordered_map<char32_t, std::vector<std::size_t>> byFirst_;
};

}  // namespace tolvane
