#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/Cp936.h"
#include "platform/TextEncoding.h"
#include "platform/UnicodeText.h"
#include "reading/ReadingData.h"
#include "reading/classic/Lookup.h"
#include "reading/context/ContextResolver.h"
#include "reading/orthography/OrthographicLine.h"
#include "reading/shared/PositionReading.h"
#include "settings/ConversionSettings.h"

// The readings of a whole line, one reading and one width reading per character position: the
// one question the layouts ask. Two ways of reading answer it: the classic per-character lookup
// (first reading, all readings) and reading by context. The layouts do not know which one spoke.
namespace tolvane {

// The readings of lines from one snapshot of the loaded data. It keeps a resolver for each
// combination of settings it has met, each filling its caches as characters come, so it belongs
// to one thread at a time: every worker of a run makes its own from the run's snapshot. The views
// it hands out stay valid as long as it lives.
class LineReadings {
 public:
  explicit LineReadings(std::shared_ptr<const ReadingData> data);
  ~LineReadings();
  LineReadings(const LineReadings&) = delete;
  LineReadings& operator=(const LineReadings&) = delete;

  const ReadingData& Data() const { return *data_; }

  // Calls visit(character, codePoint, const PositionReading&) for every character of `line`,
  // held in `Form`, in order. `character` is the character's bytes in the line; `codePoint` is
  // its code point in Unicode text (in code page 936 text the classic lookup leaves it 0, since a
  // column there is a byte). The form is a template argument so that the per-character work is
  // compiled into each caller's loop.
  template <TextForm Form, typename Visit>
  void ForEachReadingOfLine(std::string_view line, const ConversionSettings& settings,
                            Visit&& visit);

  // The classic lookup for these settings (not reading by context).
  const ReadingResolver& Classic(const ConversionSettings& settings);
  // Reading by context for these settings; loads the phrase data the first time.
  const ContextResolver& Context(const ConversionSettings& settings);
  // Written pinyin for these settings' tone style and way of reading by context; loads the phrase
  // data and the proper nouns the first time.
  OrthographicLine& Orthography(const ConversionSettings& settings);

 private:
  std::shared_ptr<const ReadingData> data_;
  // By tone style, policy (first, all) and Wade-Giles switch.
  std::array<std::array<std::array<std::unique_ptr<ReadingResolver>, 2>, 2>, 3> classic_;
  // By tone style and Wade-Giles switch.
  // By tone style, Wade-Giles, and how speech is written (neutral tone, erhua, 一/不: 8 ways).
  std::array<std::array<std::array<std::unique_ptr<ContextResolver>, 8>, 2>, 3> context_;
  // By tone style, Wade-Giles and how speech is written, as context_.
  std::array<std::array<std::array<std::unique_ptr<OrthographicLine>, 8>, 2>, 3> orthography_;
  std::optional<std::unordered_set<std::string>> syllables_;
  // The last line read by context, kept to reuse their memory.
  std::vector<std::string_view> characters_;
  std::vector<char32_t> codePoints_;
  std::vector<PositionReading> readings_;
};

template <TextForm Form, typename Visit>
void LineReadings::ForEachReadingOfLine(std::string_view line, const ConversionSettings& settings,
                                        Visit&& visit) {
  if (settings.polyphone == PolyphonePolicy::ByContext) {
    Context(settings).ReadLine(line, Form, characters_, codePoints_, readings_);
    for (std::size_t i = 0; i < characters_.size(); ++i)
      visit(characters_[i], codePoints_[i], readings_[i]);
    return;
  }
  const ReadingResolver& resolver = Classic(settings);
  if constexpr (Form == TextForm::Cp936) {
    for (std::size_t pos = 0; pos < line.size();) {
      const std::string_view character = line.substr(pos, cp936::CharLengthAt(line, pos));
      const auto [display, width] = resolver.Readings(character);
      visit(character, char32_t{0},
            PositionReading{display, width, static_cast<std::uint32_t>(display.size())});
      pos += character.size();
    }
  } else {
    unicode::ForEachCodePoint(line, [&](std::string_view character, char32_t cp) {
      const CodePointReading& reading = resolver.ReadingOfCodePoint(cp);
      visit(character, cp, PositionReading{reading.display, reading.width, reading.displayColumns});
    });
  }
}

}  // namespace tolvane
