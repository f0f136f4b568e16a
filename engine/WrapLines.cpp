#include "engine/WrapLines.h"

#include "platform/Cp936.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

template <typename CharLengthAt>
void WrapLinesBy(const LineList& source, std::size_t width, TextFileWriter& out,
                 bool lastLineContinues, WrapCarry& carry, CharLengthAt&& charLengthAt) {
  for (std::size_t i = 0; i < source.size(); ++i) {
    const std::string_view line = source[i];
    const bool continues = lastLineContinues && i + 1 == source.size();
    std::size_t begin = 0;
    while (begin < line.size()) {
      std::size_t end = begin;
      std::size_t n = carry.characters;
      for (; n < width && end < line.size(); ++n) end += charLengthAt(line, end);
      const std::string_view piece = line.substr(begin, end - begin);
      if (n < width && continues) {
        out.Write(piece);
        carry.characters = n;
      } else {
        out.WriteLine(piece);
        carry.characters = 0;
      }
      begin = end;
    }
    // The last piece of a long line may hold nothing but its line end.
    if (!continues && carry.characters > 0) {
      out.WriteLine({});
      carry.characters = 0;
    }
  }
}

// KeepWords: the characters held since the last place the line may end go on the line so far if
// they fit, else they begin the next.
void PlaceHeld(std::size_t width, TextFileWriter& out, WrapCarry& carry) {
  if (carry.heldCharacters == 0) return;
  if (carry.characters > 0 && carry.characters + carry.heldCharacters > width) {
    out.WriteLine({});
    carry.characters = 0;
  }
  out.Write(carry.held);
  carry.characters += carry.heldCharacters;
  carry.held.clear();
  carry.heldCharacters = 0;
}

// `insideWord`: the character goes on a written word begun before it, which no line end splits.
void KeepWordsCharacter(std::string_view character, char32_t cp, bool insideWord, std::size_t width,
                        TextFileWriter& out, WrapCarry& carry) {
  if (!insideWord && carry.breaks.MayBreakBefore(cp)) {
    PlaceHeld(width, out, carry);
    carry.overflowing = false;
  }
  carry.breaks.Pass(cp);
  if (carry.overflowing) {
    out.Write(character);
    ++carry.characters;
    return;
  }
  carry.held += character;
  ++carry.heldCharacters;
  if (carry.characters + carry.heldCharacters <= width) return;
  // What is held fits on this line no more: it begins the next, and when it is longer than a
  // whole line it is written at once, the rest of its run after it.
  if (carry.characters > 0) {
    out.WriteLine({});
    carry.characters = 0;
  }
  if (carry.heldCharacters > width) {
    PlaceHeld(width, out, carry);
    carry.overflowing = true;
  }
}

void EndKeepWordsLine(std::size_t width, TextFileWriter& out, WrapCarry& carry) {
  PlaceHeld(width, out, carry);
  out.WriteLine({});
  carry = WrapCarry();
}

// `words` (none for KeepWords) gives each line's written words; the characters are counted here
// as the words count them, by the same character lengths.
template <typename CodePointAt>
void KeepWordsBy(const LineList& source, std::size_t width, TextFileWriter& out, TextForm form,
                 bool lastLineContinues, WrapCarry& carry, const WrittenWords* words,
                 CodePointAt&& codePointAt) {
  for (std::size_t i = 0; i < source.size(); ++i) {
    const std::string_view line = source[i];
    const std::span<const OrthographicWord> lineWords = words != nullptr && !line.empty()
                                                            ? (*words)(line, form)
                                                            : std::span<const OrthographicWord>();
    std::size_t next = 0;  // the first word that does not end before the character
    std::size_t index = 0;
    for (std::size_t pos = 0; pos < line.size(); ++index) {
      const auto [character, cp] = codePointAt(line, pos);
      while (next < lineWords.size() && lineWords[next].begin + lineWords[next].length <= index)
        ++next;
      const bool insideWord = next < lineWords.size() && lineWords[next].begin < index;
      KeepWordsCharacter(character, cp, insideWord, width, out, carry);
      pos += character.size();
    }
    if (!lastLineContinues || i + 1 < source.size()) EndKeepWordsLine(width, out, carry);
  }
}

struct CharacterAndCodePoint {
  std::string_view character;
  char32_t cp;  // 0 for bytes that form no character
};

CharacterAndCodePoint Cp936CharacterAt(std::string_view line, std::size_t pos) {
  const std::string_view character = line.substr(pos, cp936::CharLengthAt(line, pos));
  return {character, cp936::DecodesExactly(character) ? cp936::DecodeChar(character) : 0};
}

CharacterAndCodePoint UnicodeCharacterAt(std::string_view line, std::size_t pos) {
  const std::size_t length = unicode::CharLengthAt(line, pos);
  return {line.substr(pos, length), unicode::CodePointAt(line, pos, length)};
}

}  // namespace

WrapRule WrapRuleFor(const ConversionSettings& settings) {
  // Written pinyin reads by context whatever the policy says.
  if (settings.orthography) return WrapRule::KeepWrittenWords;
  return settings.polyphone == PolyphonePolicy::ByContext ? WrapRule::KeepWords
                                                          : WrapRule::EveryWidth;
}

void WrapLines(const LineList& source, std::size_t width, TextFileWriter& out, TextForm form,
               bool lastLineContinues, WrapCarry& carry, WrapRule rule, const WrittenWords& words) {
  if (rule == WrapRule::KeepWords || rule == WrapRule::KeepWrittenWords) {
    const WrittenWords* lineWords = rule == WrapRule::KeepWrittenWords && words ? &words : nullptr;
    if (form == TextForm::Cp936) {
      KeepWordsBy(source, width, out, form, lastLineContinues, carry, lineWords, Cp936CharacterAt);
    } else {
      KeepWordsBy(source, width, out, form, lastLineContinues, carry, lineWords,
                  UnicodeCharacterAt);
    }
    return;
  }
  if (form == TextForm::Cp936) {
    WrapLinesBy(source, width, out, lastLineContinues, carry, cp936::CharLengthAt);
  } else {
    WrapLinesBy(source, width, out, lastLineContinues, carry, unicode::CharLengthAt);
  }
}

void WrapLines(const LineList& source, std::size_t width, TextFileWriter& out, TextForm form,
               WrapRule rule, const WrittenWords& words) {
  WrapCarry carry;
  WrapLines(source, width, out, form, false, carry, rule, words);
}

void FinishWrap(std::size_t width, TextFileWriter& out, WrapCarry& carry) {
  if (carry.characters > 0 || carry.heldCharacters > 0) EndKeepWordsLine(width, out, carry);
}

}  // namespace tolvane
