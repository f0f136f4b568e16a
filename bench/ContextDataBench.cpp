// Reading by context: the time to load its data, the memory the loaded data holds, and the speed
// of reading a line by context against the classic lookup, over the lines of the fortunes-zh
// text when it is installed (else the sample text).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/AnnotateLine.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"
#include "reading/Session.h"
#include "reading/classic/ReadingTable.h"
#include "reading/context/PhraseData.h"
#include "reading/context/PolyphoneModel.h"
#include "reading/shared/DataFiles.h"

namespace tolvane {
namespace {

const std::filesystem::path kData = std::filesystem::path(TOLVANE_SOURCE_DIR) / "data";

// Resident memory of the process, in bytes.
double ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

void BM_LoadContextData(benchmark::State& state) {
  double residentGrowth = 0;
  double held = 0;
  for (auto _ : state) {
    const double before = ResidentBytes();
    auto data = PhraseData::Load(kData / kContextWordsFile, kData / kContextPairsFile,
                                 kData / kContextCharactersFile);
    // The first load's growth is what a program pays; later ones reuse freed memory.
    residentGrowth = std::max(residentGrowth, ResidentBytes() - before);
    held = static_cast<double>(data->MemoryBytes());
    benchmark::DoNotOptimize(data.get());
  }
  state.counters["resident_MB"] = residentGrowth / (1 << 20);
  state.counters["held_MB"] = held / (1 << 20);
}
BENCHMARK(BM_LoadContextData)->Unit(benchmark::kMillisecond)->Iterations(5);

// The polyphone model: mapped, its input gates checked and handed back to the file, so that a
// load costs a few milliseconds and holds only the small matrices and tables.
void BM_LoadPolyphoneModel(benchmark::State& state) {
  double residentGrowth = 0;
  double held = 0;
  for (auto _ : state) {
    const double before = ResidentBytes();
    auto model = PolyphoneModel::Load(kData / kPolyphoneModelFile);
    residentGrowth = std::max(residentGrowth, ResidentBytes() - before);
    held = static_cast<double>(model->MemoryBytes());
    benchmark::DoNotOptimize(model.get());
  }
  state.counters["resident_MB"] = residentGrowth / (1 << 20);
  state.counters["held_MB"] = held / (1 << 20);
}
BENCHMARK(BM_LoadPolyphoneModel)->Unit(benchmark::kMillisecond)->Iterations(20);

// The lines of the benchmark text as Unicode text, and the number of ideographs in them.
const std::vector<std::string>& Lines(std::size_t* ideographs) {
  static std::size_t count = 0;
  static const std::vector<std::string> lines = [] {
    std::filesystem::path source = "/usr/share/games/fortunes/tang300";
    std::string text;
    std::error_code ec;
    if (std::filesystem::exists(source, ec)) {
      text = ReadWholeFile(source);
    } else {
      text = DecodeText(ReadWholeFile(kData / "sample.txt"), Encoding::Cp936).text;
    }
    std::vector<std::string> out;
    for (const std::string_view line : SplitLines(text)) out.emplace_back(line);
    for (const std::string& line : out)
      for (unsigned char c : line) count += (c >= 0xE4 && c <= 0xE9);  // 3-byte CJK leads
    return out;
  }();
  *ideographs = count;
  return lines;
}

void BM_AnnotateLines(benchmark::State& state) {
  Session session;
  StartSession(session, kData);
  LineReadings readings(session.Data());
  ConversionSettings settings;
  settings.polyphone = static_cast<PolyphonePolicy>(state.range(0));
  std::size_t ideographs = 0;
  const auto& lines = Lines(&ideographs);
  AnnotatedLine out;
  Separator separator = kStartSeparator;
  for (const std::string& line : lines)
    AnnotateLine(readings, line, TextForm::Unicode, settings, separator, out);
  for (auto _ : state) {
    for (const std::string& line : lines) {
      AnnotateLine(readings, line, TextForm::Unicode, settings, separator, out);
      benchmark::DoNotOptimize(out.lines[0].data());
    }
  }
  state.counters["ideographs/s"] = benchmark::Counter(
      static_cast<double>(ideographs * state.iterations()), benchmark::Counter::kIsRate);
  state.SetLabel(settings.polyphone == PolyphonePolicy::ByContext ? "context" : "first reading");
}
BENCHMARK(BM_AnnotateLines)
    ->Arg(static_cast<int>(PolyphonePolicy::FirstReading))
    ->Arg(static_cast<int>(PolyphonePolicy::ByContext))
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tolvane
