#include "dictionary/Lookup.h"

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

}  // namespace

// The user's reading is looked for first: it replaces whatever the table would give, so the
// table and the tone marks need not be consulted for it at all.
std::string_view LookupReading(std::string_view character, const ConversionSettings& settings) {
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

std::string_view LookupNumberedReading(std::string_view character,
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

}  // namespace tolvane
