#include "documents/DocumentTypography.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

// A heading stands out by its size alone: a bold face is not installed everywhere the regular one
// is, and a synthesised bold smears the strokes of the characters.
constexpr double kHeadingScale = 1.5;

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < utf8.size(); pos += unicode::CharLengthAt(utf8, pos)) ++count;
  return count;
}

bool IsToneDigit(char c) { return c >= '1' && c <= '5'; }

}  // namespace

DocumentTypography TypographyOf(const PageDesign& design) {
  DocumentTypography type;
  type.textFont = design.textFont.empty() ? "Noto Serif CJK SC" : design.textFont;
  type.readingFont = design.readingFont.empty() ? "Noto Sans" : design.readingFont;
  type.textPt = design.textSizePt;
  type.headingPt = design.textSizePt * kHeadingScale;
  return type;
}

double ReadingPt(const PageDesign& design, double basePt) {
  return basePt * design.readingPercent / 100.0;
}

std::string ReadingPadding(const PageDesign& design) {
  std::string padding;
  if (design.syllableGap <= 0) return padding;
  const long count = std::max(1L, std::lround(design.syllableGap * 5));
  for (long i = 0; i < count; ++i) padding.append("\u2009");
  return padding;
}

std::string DecimalText(double value) {
  const double rounded = std::round(value * 100) / 100;
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 2);
  std::string text(buffer, result.ptr);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}

std::vector<std::string_view> ColouredSyllables(const RubyCharacter& unit) {
  const std::string_view reading = unit.reading;
  if (reading.empty()) return {};
  if (CharacterCount(unit.text) <= 1) return {reading};
  std::vector<std::string_view> syllables;
  std::size_t begin = 0;
  for (std::size_t pos = 0; pos < reading.size(); ++pos) {
    if (!IsToneDigit(reading[pos])) continue;
    syllables.push_back(reading.substr(begin, pos + 1 - begin));
    begin = pos + 1;
  }
  if (syllables.size() < 2) return {};
  // What follows the last tone digit (a mark closing the word) goes with the last syllable.
  if (begin < reading.size())
    syllables.back() = reading.substr(syllables.back().data() - reading.data());
  return syllables;
}

}  // namespace tolvane
