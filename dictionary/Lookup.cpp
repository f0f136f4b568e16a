#include "dictionary/Lookup.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dictionary/DataFiles.h"
#include "dictionary/ReadingTable.h"
#include "dictionary/ToneMarks.h"
#include "platform/Error.h"

namespace tolvane {
namespace {

// Marking a reading list takes far longer than finding it, and the marked forms depend only on
// the table entry and the loaded tone glyphs. So they are made once per load of the data files,
// for every entry of the numbered table, and a lookup is an index operation.
class MarkedReadingCache {
 public:
  struct Marked {
    std::string text;
    std::string error;  // the text of the error marking raised, if it failed
  };
  struct EntryForms {
    Marked markedFirst;
    Marked markedAll;
    std::string strippedFirst;
    std::string strippedAll;
  };

  const EntryForms& For(std::size_t entryIndex) {
    const ReadingTable& table = NumberedReadingTable();
    if (generation_ != DataFilesGeneration() || forms_.size() != table.Count()) Build(table);
    return forms_[entryIndex];
  }

 private:
  static Marked Mark(std::string_view list, const ToneVowels& glyphs) {
    try {
      return {MarkReadingList(list, glyphs), {}};
    } catch (const Error& error) {
      return {{}, error.what()};
    }
  }

  void Build(const ReadingTable& table) {
    const ToneVowels& glyphs = ToneVowelList();
    forms_.clear();
    forms_.resize(table.Count());
    for (std::size_t i = 0; i < table.Count(); ++i) {
      const std::string_view all = table.At(i).readings;
      const std::string_view first = all.substr(0, all.find('/'));
      EntryForms& forms = forms_[i];
      forms.markedAll = Mark(all, glyphs);
      forms.markedFirst = Mark(first, glyphs);
      forms.strippedAll = StripToneDigits(all);
      forms.strippedFirst = StripToneDigits(first);
    }
    generation_ = DataFilesGeneration();
  }

  unsigned long generation_ = ~0UL;
  std::vector<EntryForms> forms_;
};

MarkedReadingCache& Cache() {
  static MarkedReadingCache cache;
  return cache;
}

std::optional<std::string_view> CustomReading(std::string_view character,
                                              const ConversionSettings& settings) {
  const CustomDictionary& dictionary =
      settings.wadeGiles ? WadeGilesDictionary() : StandardDictionary();
  return dictionary.FindReading(character);
}

std::string_view FirstReading(std::string_view list, const ConversionSettings& settings) {
  if (settings.polyphone == PolyphonePolicy::AllReadings) return list;
  return list.substr(0, list.find('/'));
}

// The user's reading is looked for first: it replaces whatever the table would give, so the
// table and the tone marks need not be consulted for it at all.
std::string_view ComputeReading(std::string_view character, const ConversionSettings& settings) {
  if (const auto custom = CustomReading(character, settings)) return *custom;
  if (settings.toneStyle == ToneStyle::Plain) {
    const auto list = PlainReadingTable().Find(character);
    return list ? FirstReading(*list, settings) : kNotFoundReading;
  }
  const auto index = NumberedReadingTable().FindIndex(character);
  if (!index) return kNotFoundReading;
  if (settings.toneStyle == ToneStyle::Numbered)
    return FirstReading(NumberedReadingTable().At(*index).readings, settings);
  const auto& forms = Cache().For(*index);
  const auto& marked =
      settings.polyphone == PolyphonePolicy::AllReadings ? forms.markedAll : forms.markedFirst;
  if (!marked.error.empty()) throw Error(marked.error);
  return marked.text;
}

std::string_view ComputeNumberedReading(std::string_view character,
                                        const ConversionSettings& settings) {
  if (const auto custom = CustomReading(character, settings)) return *custom;
  const auto index = NumberedReadingTable().FindIndex(character);
  if (!index) return kNotFoundReading;
  if (settings.toneStyle != ToneStyle::Marked)
    return FirstReading(NumberedReadingTable().At(*index).readings, settings);
  const auto& forms = Cache().For(*index);
  return settings.polyphone == PolyphonePolicy::AllReadings ? forms.strippedAll
                                                            : forms.strippedFirst;
}

// Validity of the resolved tables: they depend on the loaded data files and on whether the
// built-in tables have been filled yet.
struct ResolverKey {
  unsigned long generation;
  std::size_t numberedCount;
  std::size_t plainCount;
  bool operator==(const ResolverKey&) const = default;
};

ResolverKey CurrentKey() {
  return {DataFilesGeneration(), NumberedReadingTable().Count(), PlainReadingTable().Count()};
}

}  // namespace

ReadingResolver::ReadingResolver(const ConversionSettings& settings) : settings_(settings) {
  const auto resolve = [&](std::string_view character, Slot& slot) {
    std::string_view display;
    std::string_view width;
    try {
      display = ComputeReading(character, settings_);
      width = ComputeNumberedReading(character, settings_);
    } catch (const Error&) {
      return;  // left unresolved: the full lookup raises the error when the character comes
    }
    if (display.size() >= kUnresolved || width.size() >= kUnresolved) return;
    slot.displayOffset = static_cast<std::uint32_t>(arena_.size());
    slot.displayLength = static_cast<std::uint16_t>(display.size());
    arena_ += display;
    slot.widthOffset = static_cast<std::uint32_t>(arena_.size());
    slot.widthLength = static_cast<std::uint16_t>(width.size());
    arena_ += width;
  };
  for (unsigned byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    resolve(std::string_view(&c, 1), singleByte_[byte]);
  }
  for (unsigned row = 0; row < kAreaSide; ++row) {
    for (unsigned cell = 0; cell < kAreaSide; ++cell) {
      const char pair[2] = {static_cast<char>(kAreaFirst + row),
                            static_cast<char>(kAreaFirst + cell)};
      resolve(std::string_view(pair, 2), area_[row * kAreaSide + cell]);
    }
  }
}

std::string_view ReadingResolver::FullReading(std::string_view character) const {
  return ComputeReading(character, settings_);
}

std::string_view ReadingResolver::FullNumberedReading(std::string_view character) const {
  return ComputeNumberedReading(character, settings_);
}

const ReadingResolver& ResolverFor(const ConversionSettings& settings) {
  // One resolver per combination of the three settings the lookup reads, made when first needed
  // and made again after the data files change.
  static std::unique_ptr<ReadingResolver> resolvers[3][2][2];
  static ResolverKey key = CurrentKey();
  const ResolverKey current = CurrentKey();
  if (!(current == key)) {
    for (auto& byTone : resolvers)
      for (auto& byPolicy : byTone)
        for (auto& resolver : byPolicy) resolver.reset();
    key = current;
  }
  auto& resolver = resolvers[static_cast<int>(settings.toneStyle)]
                            [static_cast<int>(settings.polyphone)][settings.wadeGiles ? 1 : 0];
  if (!resolver) resolver = std::make_unique<ReadingResolver>(settings);
  return *resolver;
}

std::string_view LookupReading(std::string_view character, const ConversionSettings& settings) {
  return ResolverFor(settings).Reading(character);
}

std::string_view LookupNumberedReading(std::string_view character,
                                       const ConversionSettings& settings) {
  return ResolverFor(settings).NumberedReading(character);
}

}  // namespace tolvane
