#include "documents/Handout.h"

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "documents/CommonCharacters.h"
#include "engine/HtmlPage.h"
#include "engine/SourceReader.h"
#include "engine/WrapLines.h"
#include "engine/WrapPass.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

template <typename Visit>
void ForEachCodePointOf(std::string_view utf8, Visit&& visit) {
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const std::size_t length = unicode::CharLengthAt(utf8, pos);
    visit(unicode::CodePointAt(utf8, pos, length));
    pos += length;
  }
}

// A reading compared as the reader sees it: case and the marks between syllables of a written
// word do not make it another reading.
std::string Folded(std::string_view reading) {
  std::string out;
  for (const char c : reading) {
    if (c == '\'' || c == '-' || c == ' ') continue;
    out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  }
  return out;
}

// A light syllable reads as its character's usual reading without the tone: the light tone of
// a word is no other reading of the character (the 友 of 朋友 is still yǒu).
std::string WithoutToneMarks(std::string_view reading) {
  static constexpr std::pair<std::u32string_view, char> kMarked[] = {
      {U"āáǎà", 'a'}, {U"ēéěè", 'e'}, {U"īíǐì", 'i'}, {U"ōóǒò", 'o'}, {U"ūúǔù", 'u'}};
  std::string out;
  std::size_t pos = 0;
  while (pos < reading.size()) {
    const std::size_t length = unicode::CharLengthAt(reading, pos);
    const char32_t cp = unicode::CodePointAt(reading, pos, length);
    char plain = 0;
    for (const auto& [marked, base] : kMarked)
      if (marked.find(cp) != std::u32string_view::npos) plain = base;
    if (plain != 0) {
      out.push_back(plain);
    } else if (cp < U'0' || cp > U'5' || out.empty()) {
      out.append(reading.substr(pos, length));
    }
    pos += length;
  }
  return out;
}

bool SameReading(std::string_view reading, std::string_view usual) {
  const std::string folded = Folded(reading);
  if (folded == Folded(usual)) return true;
  return ToneOfSyllable(folded) == 5 && folded == WithoutToneMarks(Folded(usual));
}

// Whether a unit (one character, or a written word over several) reads otherwise than its
// characters' usual readings.
bool DiffersFromUsual(const RubyCharacter& unit, const UsualReading& usual) {
  std::vector<std::string> expected;
  ForEachCodePointOf(unit.text, [&](char32_t cp) {
    std::string character;
    unicode::AppendCodePoint(character, cp);
    expected.push_back(usual(character));
  });
  if (expected.size() == 1) return !SameReading(unit.reading, expected.front());
  std::string joined;
  for (const std::string& reading : expected) joined += reading;
  return Folded(unit.reading) != Folded(joined);
}

void SelectAnnotations(std::vector<HandoutLine>& lines, const UsualReading& usual,
                       AnnotationScope scope) {
  if (scope == AnnotationScope::Every) return;
  std::unordered_set<char32_t> seen;
  for (HandoutLine& line : lines) {
    for (RubyCharacter& unit : line.units) {
      if (unit.reading.empty()) continue;
      bool keep = false;
      switch (scope) {
        case AnnotationScope::Uncommon:
          ForEachCodePointOf(unit.text, [&](char32_t cp) { keep |= !IsCommonCharacter(cp); });
          break;
        case AnnotationScope::First:
          ForEachCodePointOf(unit.text, [&](char32_t cp) { keep |= seen.insert(cp).second; });
          break;
        case AnnotationScope::Unusual:
          keep = DiffersFromUsual(unit, usual);
          break;
        case AnnotationScope::Every:
          keep = true;
          break;
      }
      if (!keep) unit.reading.clear();
    }
  }
}

std::vector<std::string> LinesOfText(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

template <typename Lines>
Handout AnnotateLines(LineReadings& readings, const Lines& lines, TextForm form,
                      const ConversionSettings& settings, const PageDesign& design) {
  std::vector<RubyLine> annotated;
  annotated.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i)
    annotated.push_back(RubyLineOf(readings, lines[i], form, settings));
  RubyLine fixedTitle;
  if (design.titleSource == TitleSource::Fixed && !design.titleText.empty())
    fixedTitle = RubyLineOf(readings, design.titleText, TextForm::Unicode, settings);
  return ComposeHandout(std::move(annotated), UsualReadingOf(readings, settings), design,
                        std::move(fixedTitle));
}

}  // namespace

std::string DocumentTitle(const Handout& handout) {
  if (!handout.title.empty()) return handout.title;
  if (!handout.name.empty()) return handout.name;
  return "Tolvane";
}

std::string TextOfUnits(const RubyLine& units) {
  std::string text;
  for (const RubyCharacter& unit : units) text += unit.text;
  return text;
}

Handout ComposeHandout(std::vector<RubyLine> lines, const UsualReading& usual,
                       const PageDesign& design, RubyLine fixedTitle) {
  Handout handout;
  handout.lines.reserve(lines.size() + 1);
  for (RubyLine& line : lines) handout.lines.push_back({std::move(line), false});
  SelectAnnotations(handout.lines, usual, design.scope);
  switch (design.titleSource) {
    case TitleSource::FirstLine:
      if (handout.lines.size() > 1) {
        std::string title = TitleOfFirstLine(TextOfUnits(handout.lines.front().units));
        if (!title.empty()) {
          handout.title = std::move(title);
          handout.lines.front().heading = true;
        }
      }
      break;
    case TitleSource::Fixed:
      if (!design.titleText.empty()) {
        handout.title = design.titleText;
        handout.lines.insert(handout.lines.begin(), HandoutLine{std::move(fixedTitle), true});
      }
      break;
    case TitleSource::None:
      break;
  }
  return handout;
}

UsualReading UsualReadingOf(LineReadings& readings, const ConversionSettings& settings) {
  ConversionSettings alone = settings;
  alone.polyphone = PolyphonePolicy::ByContext;
  alone.orthography = false;
  alone.sandhi = false;
  auto known = std::make_shared<std::unordered_map<std::string, std::string>>();
  return [&readings, alone, known](std::string_view character) {
    const auto found = known->find(std::string(character));
    if (found != known->end()) return found->second;
    const RubyLine line = RubyLineOf(readings, character, TextForm::Unicode, alone);
    std::string reading = line.size() == 1 ? line.front().reading : std::string();
    known->emplace(character, reading);
    return reading;
  };
}

Handout ReadHandout(LineReadings& readings, const std::filesystem::path& source,
                    const ConversionSettings& settings, const PageDesign& design,
                    EncodingChoice choice) {
  const WrapRule rule = WrapRuleFor(settings);
  const SourceLines lines = ReadSourceLines(
      source, choice, settings.wrapWidth, rule,
      rule == WrapRule::KeepWrittenWords ? WrittenWordsFrom(readings, settings) : WrittenWords());
  Handout handout = AnnotateLines(readings, lines.lines, lines.form, settings, design);
  handout.name = source.stem().string();
  return handout;
}

Handout HandoutOfText(LineReadings& readings, std::string_view textUtf8,
                      const ConversionSettings& settings, const PageDesign& design) {
  return AnnotateLines(readings, LinesOfText(textUtf8), TextForm::Unicode, settings, design);
}

}  // namespace tolvane
