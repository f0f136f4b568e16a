#include "reading/shared/ToneMarks.h"

#include <array>

#include "platform/Cp936.h"
#include "platform/Error.h"
#include "platform/TrimBlanks.h"

namespace tolvane {
namespace {

constexpr std::string_view kInitials = "bpmfdtnlgkhjqxrzcsyw";
constexpr std::string_view kTwoLetterInitials = "zhchsh";

bool Contains(std::string_view haystack, std::string_view needle) {
  return !needle.empty() && haystack.find(needle) != std::string_view::npos;
}

struct VowelRule {
  std::string_view pattern;
  std::size_t markedLetter;  // offset of the marked letter inside the pattern
  int groupStart;            // glyph index of tone 1
  int neutralGlyph;          // glyph index for tone 5, or -1 for no mark
};

// Tried in this order; the first pattern that occurs anywhere in the final takes the mark.
constexpr std::array<VowelRule, 8> kVowelRules = {{
    {"a", 0, 0, -1},
    {"o", 0, 4, -1},
    {"e", 0, 8, -1},
    {"ui", 1, 12, -1},
    {"iu", 1, 16, -1},
    {"i", 0, 12, -1},
    {"u", 0, 16, -1},
    {"v", 0, 20, 24},
}};

template <typename ItemFn>
std::string JoinItemsReversed(std::string_view list, ItemFn&& item) {
  std::vector<std::string_view> items;
  for (std::size_t begin = 0;;) {
    const std::size_t slash = list.find('/', begin);
    items.push_back(list.substr(begin, slash == std::string_view::npos ? slash : slash - begin));
    if (slash == std::string_view::npos) break;
    begin = slash + 1;
  }
  // Each item goes behind a "/", last item first; the leading "/" is dropped at the end.
  std::string buffer;
  for (auto it = items.rbegin(); it != items.rend(); ++it) {
    buffer.push_back('/');
    buffer += item(*it);
  }
  buffer.erase(0, 1);
  return buffer;
}

}  // namespace

std::string MarkReading(std::string_view syllable, const ToneVowels& toneVowels) {
  const std::string_view tone = TrimBlanks(cp936::LastChar(syllable));

  const std::string_view firstChar = TrimBlanks(cp936::FirstChars(syllable, 1));
  const std::string_view firstTwo = TrimBlanks(cp936::FirstChars(syllable, 2));
  std::size_t initialLength = 0;
  std::string_view initial;
  if (Contains(kInitials, firstChar)) {
    initialLength = 1;
    initial = firstChar;
    if ((firstChar == "z" || firstChar == "c" || firstChar == "s") &&
        Contains(kTwoLetterInitials, firstTwo)) {
      initialLength = 2;
      initial = firstTwo;
    }
  }

  std::string_view trimmed = TrimBlanks(syllable);
  trimmed.remove_suffix(cp936::LastChar(trimmed).size());
  std::string body(trimmed.substr(cp936::FirstChars(trimmed, initialLength).size()));

  int toneNumber = 0;
  if (tone.size() == 1 && tone[0] >= '1' && tone[0] <= '5') toneNumber = tone[0] - '0';
  for (const VowelRule& rule : kVowelRules) {
    const std::size_t at = body.find(rule.pattern);
    if (at == std::string::npos) continue;
    int glyph = -1;
    if (toneNumber >= 1 && toneNumber <= 4) glyph = rule.groupStart + toneNumber - 1;
    if (toneNumber == 5) glyph = rule.neutralGlyph;
    if (glyph >= 0) {
      if (static_cast<std::size_t>(glyph) >= toneVowels.size()) throw ListIndexOutOfBounds(glyph);
      body.replace(at + rule.markedLetter, 1, toneVowels[glyph]);
    }
    break;
  }
  std::string result(initial);
  result += body;
  return result;
}

std::string MarkReadingList(std::string_view readingList, const ToneVowels& toneVowels) {
  return JoinItemsReversed(readingList,
                           [&](std::string_view item) { return MarkReading(item, toneVowels); });
}

std::string StripToneDigits(std::string_view readingList) {
  return JoinItemsReversed(readingList, [](std::string_view item) {
    return std::string(item.substr(0, item.size() - cp936::LastChar(item).size()));
  });
}

}  // namespace tolvane
