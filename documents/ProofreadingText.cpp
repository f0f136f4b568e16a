#include "documents/ProofreadingText.h"

#include <algorithm>

#include "platform/Error.h"
#include "platform/UnicodeText.h"
#include "reading/orthography/SyllableSpelling.h"

namespace tolvane {
namespace {

std::size_t EndOf(const Correction& correction) {
  return correction.position + CodePointCount(correction.characters);
}

bool Overlaps(const Correction& a, const Correction& b) {
  return a.position < EndOf(b) && b.position < EndOf(a);
}

}  // namespace

std::size_t CodePointCount(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < utf8.size(); pos += unicode::CharLengthAt(utf8, pos)) ++count;
  return count;
}

std::size_t ByteOffsetOfCodePoint(std::string_view utf8, std::size_t index) {
  std::size_t pos = 0;
  for (; pos < utf8.size() && index > 0; --index) pos += unicode::CharLengthAt(utf8, pos);
  return pos;
}

std::string CorrectionProblem(const Correction& correction) {
  if (correction.characters.empty()) return "no characters";
  if (correction.characters.find_first_of("\t\r\n") != std::string::npos)
    return "characters hold a tab or a line end";
  const std::size_t count = CodePointCount(correction.characters);
  if (correction.syllables.size() != count)
    return std::to_string(count) + " characters but " +
           std::to_string(correction.syllables.size()) + " syllables";
  for (const std::string& syllable : correction.syllables)
    if (!IsNumberedSyllable(syllable)) return "\"" + syllable + "\" is no numbered syllable";
  return std::string();
}

void ProofreadingText::ApplyEdit(std::size_t position, std::size_t removedCount,
                                 std::string_view inserted) {
  const std::size_t begin = ByteOffsetOfCodePoint(text_, position);
  position = CodePointCount(std::string_view(text_).substr(0, begin));
  const std::size_t end =
      begin + ByteOffsetOfCodePoint(std::string_view(text_).substr(begin), removedCount);
  removedCount = CodePointCount(std::string_view(text_).substr(begin, end - begin));
  text_.replace(begin, end - begin, inserted);
  const std::size_t insertedCount = CodePointCount(inserted);
  std::erase_if(corrections_, [&](Correction& correction) {
    if (correction.scope != CorrectionScope::Occurrence) return false;
    const std::size_t first = correction.position;
    const std::size_t last = EndOf(correction);
    if (position + removedCount <= first) {
      correction.position = first - removedCount + insertedCount;
      return false;
    }
    if (position >= last) return false;
    return true;  // the change touched its characters
  });
}

void ProofreadingText::SetText(std::string textUtf8) {
  text_ = std::move(textUtf8);
  std::erase_if(corrections_, [](const Correction& correction) {
    return correction.scope == CorrectionScope::Occurrence;
  });
}

void ProofreadingText::AddCorrection(Correction correction) {
  if (std::string problem = CorrectionProblem(correction); !problem.empty())
    throw Error("Cannot keep the reading of \"" + correction.characters + "\": " + problem);
  if (correction.scope == CorrectionScope::Occurrence) {
    const std::size_t begin = ByteOffsetOfCodePoint(text_, correction.position);
    if (text_.compare(begin, correction.characters.size(), correction.characters) != 0)
      throw Error("\"" + correction.characters + "\" does not stand at character " +
                  std::to_string(correction.position));
  } else {
    correction.position = 0;
  }
  std::erase_if(corrections_, [&](const Correction& kept) {
    if (kept.scope != correction.scope) return false;
    return correction.scope == CorrectionScope::Occurrence
               ? Overlaps(kept, correction)
               : kept.characters == correction.characters;
  });
  corrections_.push_back(std::move(correction));
}

bool ProofreadingText::RemoveCorrectionsAt(std::size_t position) {
  const std::size_t before = corrections_.size();
  std::erase_if(corrections_, [&](const Correction& correction) {
    if (correction.scope == CorrectionScope::Occurrence)
      return correction.position <= position && position < EndOf(correction);
    // Every occurrence: whether one of its occurrences covers the position.
    const std::size_t length = CodePointCount(correction.characters);
    const std::size_t from = position + 1 > length ? position + 1 - length : 0;
    const std::size_t begin = ByteOffsetOfCodePoint(text_, from);
    const std::size_t end = ByteOffsetOfCodePoint(text_, position + 1);
    for (std::size_t found = text_.find(correction.characters, begin);
         found != std::string::npos && found < end;
         found = text_.find(correction.characters, found + 1)) {
      if (found + correction.characters.size() > ByteOffsetOfCodePoint(text_, position))
        return true;
    }
    return false;
  });
  return corrections_.size() != before;
}

std::vector<std::string> ProofreadingText::ChosenSyllables() const {
  // Byte offset -> code point index, for the matches of every occurrence.
  std::vector<std::size_t> indexOfByte(text_.size() + 1, 0);
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text_.size();) {
    const std::size_t length = unicode::CharLengthAt(text_, pos);
    for (std::size_t k = 0; k < length; ++k) indexOfByte[pos + k] = count;
    pos += length;
    ++count;
  }
  indexOfByte[text_.size()] = count;
  std::vector<std::string> chosen(count);
  std::vector<bool> taken(count, false);
  const auto give = [&](std::size_t at, const Correction& correction) {
    for (std::size_t k = 0; k < correction.syllables.size(); ++k)
      if (at + k >= count || taken[at + k]) return;
    for (std::size_t k = 0; k < correction.syllables.size(); ++k) {
      chosen[at + k] = correction.syllables[k];
      taken[at + k] = true;
    }
  };
  for (const Correction& correction : corrections_)
    if (correction.scope == CorrectionScope::Occurrence) give(correction.position, correction);
  std::vector<const Correction*> every;
  for (const Correction& correction : corrections_)
    if (correction.scope == CorrectionScope::EveryOccurrence) every.push_back(&correction);
  std::stable_sort(every.begin(), every.end(), [](const Correction* a, const Correction* b) {
    return a->syllables.size() > b->syllables.size();
  });
  for (const Correction* correction : every) {
    for (std::size_t found = text_.find(correction->characters); found != std::string::npos;
         found = text_.find(correction->characters, found + 1)) {
      if (indexOfByte[found] > 0 && found > 0 && indexOfByte[found - 1] == indexOfByte[found])
        continue;  // inside a character
      give(indexOfByte[found], *correction);
    }
  }
  return chosen;
}

}  // namespace tolvane

namespace tolvane {

ProofreadingText WithLineEnds(const ProofreadingText& text, bool crlf) {
  const std::string& in = text.Text();
  std::string out;
  out.reserve(in.size());
  // For each code point of the input, its index in the output.
  std::vector<std::size_t> moved;
  std::size_t index = 0;
  for (std::size_t pos = 0; pos < in.size();) {
    const std::size_t length = unicode::CharLengthAt(in, pos);
    const bool crBeforeLf = in[pos] == '\r' && pos + 1 < in.size() && in[pos + 1] == '\n';
    moved.push_back(index);
    if (crBeforeLf) {
      pos += 1;  // the LF that follows writes the line end
      continue;
    }
    if (in[pos] == '\n' && crlf) {
      out += "\r\n";
      moved.back() = index + 1;
      index += 2;
    } else {
      out.append(in, pos, length);
      ++index;
    }
    pos += length;
  }
  moved.push_back(index);
  std::vector<Correction> corrections = text.Corrections();
  for (Correction& correction : corrections)
    if (correction.scope == CorrectionScope::Occurrence && correction.position < moved.size())
      correction.position = moved[correction.position];
  ProofreadingText result(std::move(out));
  result.SetCorrections(std::move(corrections));
  return result;
}

}  // namespace tolvane
