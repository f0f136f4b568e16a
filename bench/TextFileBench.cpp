// Cutting a large text into lines, the first step of every batch run.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/TextFile.h"

namespace tolvane {
namespace {

std::string ChineseText(std::size_t bytes) {
  // Lines of 20 to 60 two-byte characters with CR LF, the shape of ordinary prose.
  std::string text;
  text.reserve(bytes + 128);
  for (std::size_t line = 0; text.size() < bytes; ++line) {
    const std::size_t characters = 20 + (line * 7) % 41;
    for (std::size_t i = 0; i < characters; ++i) {
      text += static_cast<char>(0xB0 + (i * 13 + line) % 40);
      text += static_cast<char>(0xA1 + (i * 31 + line) % 90);
    }
    text += "\r\n";
  }
  return text;
}

void BM_LineList(benchmark::State& state) {
  const std::string text = ChineseText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    LineList lines{text};
    benchmark::DoNotOptimize(lines.size());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
}
BENCHMARK(BM_LineList)->Arg(1 << 20)->Arg(16 << 20);

}  // namespace
}  // namespace tolvane
