// Decoding a whole source text, the step before lines are cut: UTF-8 checked for being
// well-formed, and code page 936 decoded and searched for its first byte that does not decode.
// Two shapes of text: Chinese prose, where ASCII comes in short runs, and text that is mostly
// ASCII (program output, English with a few Chinese words), where the long runs are skipped.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "platform/Cp936.h"
#include "platform/TextCodec.h"

namespace tolvane {
namespace {

enum Shape { kProse = 0, kMostlyAscii = 1 };

// About `bytes` of code page 936 text of the given shape, with CR LF line ends. The lengths of
// lines and runs are drawn at random (from a fixed seed), as a processor meets them in real text:
// a pattern that repeats would let it predict every branch.
std::string Cp936Text(std::size_t bytes, int shape) {
  std::mt19937 random(936);
  const auto below = [&](unsigned n) { return static_cast<unsigned>(random() % n); };
  std::string text;
  text.reserve(bytes + 256);
  while (text.size() < bytes) {
    const unsigned characters = 10 + below(60);
    for (unsigned i = 0; i < characters; ++i) {
      const bool ascii = shape == kMostlyAscii ? below(8) != 0 : below(16) == 0;
      if (ascii) {
        // A word of one to nine letters, then a blank or a comma.
        for (unsigned n = 1 + below(9); n > 0; --n) text += static_cast<char>('a' + below(26));
        text += below(4) == 0 ? ", " : " ";
        continue;
      }
      // Rows B0 to D6 of GB2312, which are full: every pair decodes.
      text += static_cast<char>(0xB0 + below(39));
      text += static_cast<char>(0xA1 + below(94));
    }
    text += "\r\n";
  }
  return text;
}

void BM_DecodeUtf8(benchmark::State& state) {
  const std::string text =
      DecodeText(Cp936Text(4 << 20, static_cast<int>(state.range(0))), Encoding::Cp936).text;
  for (auto _ : state) {
    const DecodedText decoded = DecodeText(text, Encoding::Utf8);
    benchmark::DoNotOptimize(decoded.text.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
  state.SetLabel(state.range(0) == kProse ? "prose" : "mostly ASCII");
}
BENCHMARK(BM_DecodeUtf8)->Arg(kProse)->Arg(kMostlyAscii);

void BM_DecodeCp936(benchmark::State& state) {
  const std::string text = Cp936Text(4 << 20, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const DecodedText decoded = DecodeText(text, Encoding::Cp936);
    benchmark::DoNotOptimize(decoded.text.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
  state.SetLabel(state.range(0) == kProse ? "prose" : "mostly ASCII");
}
BENCHMARK(BM_DecodeCp936)->Arg(kProse)->Arg(kMostlyAscii);

// The check alone, as encoding detection and every code page 936 run make it.
void BM_Cp936FirstUndecodable(benchmark::State& state) {
  const std::string text = Cp936Text(4 << 20, static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(cp936::FirstUndecodable(text));
  state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
  state.SetLabel(state.range(0) == kProse ? "prose" : "mostly ASCII");
}
BENCHMARK(BM_Cp936FirstUndecodable)->Arg(kProse)->Arg(kMostlyAscii);

}  // namespace
}  // namespace tolvane
