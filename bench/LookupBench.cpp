// Lookup cost per character over the characters of the bundled sample text, in every tone style
// and both polyphone policies.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/Cp936.h"
#include "platform/TextFile.h"
#include "reading/LineReadings.h"
#include "reading/Session.h"
#include "reading/classic/Lookup.h"
#include "reading/classic/ReadingTable.h"
#include "reading/shared/DataFiles.h"

namespace tolvane {
namespace {

const std::filesystem::path kData = std::filesystem::path(TOLVANE_SOURCE_DIR) / "data";

std::vector<std::string_view> SampleCharacters(const std::string& text) {
  std::vector<std::string_view> characters;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t len = cp936::CharLengthAt(text, pos);
    characters.emplace_back(text.data() + pos, len);
    pos += len;
  }
  return characters;
}

void BM_LookupReading(benchmark::State& state) {
  Session session;
  StartSession(session, kData);
  LineReadings readings(session.Data());
  static const std::string text = ReadWholeFile(kData / "sample.txt");
  const auto characters = SampleCharacters(text);
  ConversionSettings settings;
  settings.toneStyle = static_cast<ToneStyle>(state.range(0));
  settings.polyphone = static_cast<PolyphonePolicy>(state.range(1));
  const ReadingResolver& resolver = readings.Classic(settings);
  resolver.Reading(characters.front());  // builds the marked-reading cache once
  for (auto _ : state) {
    for (std::string_view character : characters) {
      benchmark::DoNotOptimize(resolver.Reading(character));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(characters.size()));
  state.SetLabel(std::string(settings.toneStyle == ToneStyle::Marked     ? "marked"
                             : settings.toneStyle == ToneStyle::Numbered ? "numbered"
                                                                         : "plain") +
                 (settings.polyphone == PolyphonePolicy::FirstReading ? "/first" : "/all"));
}
BENCHMARK(BM_LookupReading)->ArgsProduct({{0, 1, 2}, {0, 1}});

}  // namespace
}  // namespace tolvane
