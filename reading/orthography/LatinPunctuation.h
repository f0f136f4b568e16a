#pragma once

#include <optional>
#include <string_view>

// Chinese punctuation as written pinyin writes it: the Latin marks, and how each stands between
// words.
namespace tolvane {

struct LatinMark {
  // How the mark stands: Closing marks lean on the word before them (one space after, where text
  // follows); Opening marks on the word after (a space before, none after).
  enum class Side { Closing, Opening };
  std::string_view text;  // UTF-8
  Side side = Side::Closing;
  bool endsSentence = false;  // the next word begins a sentence
  // A mark doubled in Chinese (—— and ……) is one mark: its second half writes nothing.
  bool secondHalf = false;

  bool operator==(const LatinMark&) const = default;
};

// The Latin mark for the Chinese punctuation mark `cp` (the one before it, `previous`, tells the
// second half of a doubled mark), or none when `cp` is no Chinese punctuation mark.
std::optional<LatinMark> LatinPunctuation(char32_t cp, char32_t previous);

}  // namespace tolvane
