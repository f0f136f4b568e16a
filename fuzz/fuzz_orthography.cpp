// Written pinyin over the shipped data, for any line in either text form and any way of writing
// speech (light syllables, erhua, the tone changes of 一 and 不).
// Properties: the written line keeps every character's reading by context in order, nothing lost
// or duplicated (numbered, lower-cased, with the apostrophes, hyphens and spaces dropped), and
// every digit and Latin letter of the line in its place among them; the only syllables it writes
// otherwise are the light 个 of 这个 and 不 of A不A, tone 5 where the reading has a full tone;
// the written words lie inside the line, in order, without overlapping.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "platform/Cp936.h"
#include "platform/TextCodec.h"
#include "platform/UnicodeText.h"
#include "reading/LineReadings.h"
#include "reading/Session.h"
#include "reading/orthography/SyllableSpelling.h"

using namespace tolvane;

namespace {

// The shipped data, loaded once for the whole run.
Session& Loaded() {
  static Session* const session = [] {
    auto* s = new Session;
    StartSession(*s, std::filesystem::path(TOLVANE_SOURCE_DIR) / "data");
    return s;
  }();
  return *session;
}

bool IsAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// What the written line must hold, piece by piece: a reading, or a digit or Latin letter.
struct Expected {
  std::string text;
  bool mayBeLight = false;  // its tone digit may be written 5
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const std::uint8_t flags = input.Byte();
  const TextForm form = (flags & 1) ? TextForm::Unicode : TextForm::Cp936;
  ConversionSettings settings;
  settings.polyphone = PolyphonePolicy::ByContext;
  settings.outputFormat = OutputFormat::rb_output_py_only;
  settings.orthography = true;
  settings.toneStyle = ToneStyle::Numbered;
  settings.neutralTone = (flags & 2) ? NeutralTone::Citation : NeutralTone::Spoken;
  settings.erhua = (flags & 4) != 0 && settings.neutralTone == NeutralTone::Spoken;
  settings.sandhi = (flags & 8) != 0;
  settings.wadeGiles = (flags & 16) != 0;
  const std::string line = form == TextForm::Unicode ? DecodeText(input.Rest(), Encoding::Utf8).text
                                                     : std::string(input.Rest());
  if (line.find_first_of("\r\n") != std::string::npos) return 0;  // one line at a time

  LineReadings readings(Loaded().Data());
  std::vector<Expected> expected;
  std::size_t characters = 0;
  char32_t before = 0;
  std::vector<char32_t> codePoints;
  const auto visit = [&](std::string_view character, char32_t codePoint,
                         const PositionReading& reading) {
    ++characters;
    const char32_t cp = form == TextForm::Unicode ? codePoint : cp936::DecodeChar(character);
    codePoints.push_back(cp);
    if (IsNumberedSyllable(reading.display)) {
      // 个 after a demonstrative and 不 between two of the same may be written light.
      const bool light =
          (cp == U'个' && (before == U'这' || before == U'那' || before == U'哪')) || cp == U'不';
      expected.push_back({std::string(reading.display), light});
    } else if (character.size() == 1 && IsAsciiAlnum(character[0])) {
      expected.push_back({std::string(1, Lower(character[0])), false});
    }
    before = cp;
  };
  if (form == TextForm::Unicode) {
    readings.ForEachReadingOfLine<TextForm::Unicode>(line, settings, visit);
  } else {
    readings.ForEachReadingOfLine<TextForm::Cp936>(line, settings, visit);
  }

  OrthographicLine& orthography = readings.Orthography(settings);
  const std::string written(orthography.Spell(line, form));
  std::string letters;
  // By characters: a trail byte of code page 936 may look like a letter.
  for (std::size_t i = 0; i < written.size();) {
    const std::size_t length = form == TextForm::Cp936 ? cp936::CharLengthAt(written, i)
                                                       : unicode::CharLengthAt(written, i);
    if (length == 1 && IsAsciiAlnum(written[i])) letters.push_back(Lower(written[i]));
    i += length;
  }

  std::size_t at = 0;
  for (const Expected& e : expected) {
    FUZZ_CHECK(at + e.text.size() <= letters.size());
    const std::string_view got(letters.data() + at, e.text.size());
    if (got != e.text) {
      FUZZ_CHECK(e.mayBeLight &&
                 got.substr(0, got.size() - 1) == e.text.substr(0, got.size() - 1) &&
                 got.back() == '5');
    }
    at += e.text.size();
  }
  FUZZ_CHECK(at == letters.size());

  const auto words = orthography.Words(line, form);
  std::size_t next = 0;
  for (const OrthographicWord& word : words) {
    FUZZ_CHECK(word.length > 0 && word.begin >= next && word.begin + word.length <= characters);
    FUZZ_CHECK(word.hyphenAt < word.length);
    next = word.begin + word.length;
  }

  // The other tone styles write the same words; they must not fail on the shipped glyphs.
  settings.toneStyle = (flags & 32) ? ToneStyle::Marked : ToneStyle::Plain;
  readings.Orthography(settings).Spell(line, form);
  return 0;
}
