#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A text being proofread and the readings its reader chose for some of its characters. The
// choices are kept as numbered syllables ("xing2"), so they show in whatever tone style the text
// is shown or exported in.
namespace tolvane {

enum class CorrectionScope {
  Occurrence,       // the characters at one place of the text
  EveryOccurrence,  // the characters wherever they stand in this text
};

// A chosen reading: one numbered syllable for each character of `characters` (UTF-8, one or more
// characters: a written word's characters take their readings together). A correction of one
// occurrence names its place as the code point index of its first character in the text.
struct Correction {
  CorrectionScope scope = CorrectionScope::Occurrence;
  std::size_t position = 0;  // Occurrence only
  std::string characters;
  std::vector<std::string> syllables;
  bool operator==(const Correction&) const = default;
};

// Whether a correction can be kept: characters without tabs or line ends, as many numbered
// syllables (letters, then a tone 1 to 5) as characters. Returns what is wrong, or "".
std::string CorrectionProblem(const Correction& correction);

// The number of code points of a UTF-8 text.
std::size_t CodePointCount(std::string_view utf8);
// The byte offset of the code point at `index` (the text's size past its end).
std::size_t ByteOffsetOfCodePoint(std::string_view utf8, std::size_t index);

class ProofreadingText {
 public:
  ProofreadingText() = default;
  explicit ProofreadingText(std::string textUtf8) : text_(std::move(textUtf8)) {}

  const std::string& Text() const { return text_; }
  const std::vector<Correction>& Corrections() const { return corrections_; }

  // Replaces `removedCount` code points at `position` with `inserted` (UTF-8). A correction of one
  // occurrence after the change moves with its characters; one that the change touches (removes
  // or cuts through) is dropped, as its characters are no longer those it was made for.
  // Corrections of every occurrence stay. Positions past the end are clamped to it.
  void ApplyEdit(std::size_t position, std::size_t removedCount, std::string_view inserted);
  // Replaces the whole text; corrections of single occurrences are dropped.
  void SetText(std::string textUtf8);

  // Adds a correction, replacing any of the same scope for the same characters (and, for an
  // occurrence, overlapping it). Raises Error with CorrectionProblem's text when it cannot be
  // kept, or when an occurrence's characters are not at its position.
  void AddCorrection(Correction correction);
  // Removes the corrections that give the character at `position` its reading: the occurrence's
  // covering it, and those of every occurrence whose characters stand over it there. Returns
  // whether one was removed.
  bool RemoveCorrectionsAt(std::size_t position);
  void SetCorrections(std::vector<Correction> corrections) {
    corrections_ = std::move(corrections);
  }

  // The chosen syllable of each code point of the text ("" where none): an occurrence's choice
  // before one of every occurrence, and of those, the longer characters first.
  std::vector<std::string> ChosenSyllables() const;

  bool operator==(const ProofreadingText&) const = default;

 private:
  std::string text_;
  std::vector<Correction> corrections_;
};

}  // namespace tolvane

namespace tolvane {

// The same text and corrections with every line end written as LF, or as CR LF: the places of
// the corrections of single occurrences move with their characters. (An editor holds lines; the
// file keeps the line ends its text came with.)
ProofreadingText WithLineEnds(const ProofreadingText& text, bool crlf);

}  // namespace tolvane
