#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "support/TestSupport.h"
#include "tolvane/tolvane.h"

// A Converter is called from many threads at once, and so are its copies and the converters
// derived from it: each call gives what it gives on one thread alone.
namespace tolvane {
namespace {

const char* const kLines[] = {"银行旁边有一个行人。", "他不是我的朋友。", "我们一会儿去北京吧！",
                              "重庆的火锅很好吃。", "A1 B2 中文 𠀀"};

TEST(ConverterThreads, EightThreadsOnOneConverterItsCopiesAndDerivedOnesAgreeWithOneThread) {
  const Converter converter({}, test::BuildProgramFolder());
  Options numbered;
  numbered.tone = Tone::Numbered;
  numbered.layout = Layout::Han;
  const Converter derived = converter.WithOptions(numbered);
  // What each line gives on this thread alone, read before the threads start.
  std::vector<std::vector<std::string>> readings;
  std::vector<std::string> lines;
  std::vector<std::string> derivedLines;
  for (const char* line : kLines) {
    readings.push_back(converter.Readings(line));
    lines.push_back(converter.AnnotateLine(line));
    derivedLines.push_back(derived.AnnotateLine(line));
  }
  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      // Half the threads read through a copy of their own, half through the shared one.
      const Converter copy = converter;
      const Converter& mine = t % 2 == 0 ? converter : copy;
      for (int round = 0; round < 40; ++round) {
        for (std::size_t i = 0; i < std::size(kLines); ++i) {
          const std::size_t at = (i + static_cast<std::size_t>(t)) % std::size(kLines);
          if (mine.Readings(kLines[at]) != readings[at]) ++mismatches;
          if (mine.AnnotateLine(kLines[at]) != lines[at]) ++mismatches;
          if (derived.AnnotateLine(kLines[at]) != derivedLines[at]) ++mismatches;
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches.load(), 0);
}

TEST(ConverterThreads, ConvertersMadeOnManyThreadsAtOnceReadTheSame) {
  const std::vector<std::string> expected =
      Converter({}, test::BuildProgramFolder()).Readings(kLines[0]);
  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&] {
      const Converter converter({}, test::BuildProgramFolder());
      if (converter.Readings(kLines[0]) != expected) ++mismatches;
      if (converter.AnnotateText(kLines[1]).empty()) ++mismatches;
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
}  // namespace tolvane
