// AnnotateLine throughput per layout and tone style over the lines of the bundled sample text.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "engine/AnnotateLine.h"
#include "platform/TextFile.h"
#include "reading/Session.h"
#include "reading/classic/ReadingTable.h"
#include "reading/shared/DataFiles.h"

namespace tolvane {
namespace {

void BM_AnnotateLine(benchmark::State& state) {
  const auto data = std::filesystem::path(TOLVANE_SOURCE_DIR) / "data";
  Session session;
  StartSession(session, data);
  LineReadings readings(session.Data());
  const LineList lines = LineList::FromFile(data / "sample.txt");
  ConversionSettings settings;
  settings.outputFormat = static_cast<OutputFormat>(state.range(0));
  settings.toneStyle = static_cast<ToneStyle>(state.range(1));
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) bytes += lines[i].size();
  AnnotatedLine out;
  Separator separator = kStartSeparator;
  for (auto _ : state) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      AnnotateLine(readings, lines[i], TextForm::Cp936, settings, separator, out);
      benchmark::DoNotOptimize(out.lines[0].data());
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<long>(bytes));
  static const char* kFormats[] = {"py", "han", "hanpy", "pyhan", "py-only"};
  static const char* kTones[] = {"numbered", "marked", "plain"};
  state.SetLabel(std::string(kFormats[state.range(0)]) + "/" + kTones[state.range(1)]);
}
BENCHMARK(BM_AnnotateLine)->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1, 2}});

}  // namespace
}  // namespace tolvane
