#include "engine/OrderedPipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace tolvane {
namespace {

struct Item {
  int index = 0;
  int square = 0;
};

// Later items take less time than earlier ones, so on several threads they finish out of order.
void SlowSquare(Item& item, int count) {
  std::this_thread::sleep_for(std::chrono::microseconds(50 * ((count - item.index) % 7)));
  item.square = item.index * item.index;
}

TEST(OrderedPipeline, ItemsComeBackInTheOrderTheyWereProduced) {
  constexpr int kCount = 200;
  for (const unsigned threads : {0u, 1u, 2u, 5u}) {
    int produced = 0;
    int inFlight = 0;
    int mostInFlight = 0;
    std::vector<int> consumed;
    OrderedPipeline<Item>(threads).Run(
        [&](Item& item) {
          if (produced == kCount) return false;
          item.index = produced++;
          mostInFlight = std::max(mostInFlight, ++inFlight);
          return true;
        },
        [&](Item& item) { SlowSquare(item, kCount); },
        [&](Item& item) {
          --inFlight;
          EXPECT_EQ(item.square, item.index * item.index);
          consumed.push_back(item.index);
          return true;
        });
    std::vector<int> expected(kCount);
    for (int i = 0; i < kCount; ++i) expected[i] = i;
    EXPECT_EQ(consumed, expected) << threads << " threads";
    // One item waits beside each one at work, besides the one being handed back, and no more.
    EXPECT_LE(mostInFlight, static_cast<int>(std::max(1u, threads)) + 2) << threads << " threads";
  }
}

TEST(OrderedPipeline, AFailedItemIsRaisedInItsTurnAfterEveryWorkerIsDone) {
  constexpr int kCount = 100;
  constexpr int kFailing = 37;
  for (const unsigned threads : {1u, 3u}) {
    int produced = 0;
    std::atomic<int> worked = 0;
    std::vector<int> consumed;
    try {
      OrderedPipeline<Item>(threads).Run(
          [&](Item& item) {
            if (produced == kCount) return false;
            item.index = produced++;
            return true;
          },
          [&](Item& item) {
            SlowSquare(item, kCount);
            ++worked;
            if (item.index == kFailing) throw std::runtime_error("item 37");
          },
          [&](Item& item) {
            consumed.push_back(item.index);
            return true;
          });
      ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& error) {
      EXPECT_STREQ(error.what(), "item 37");
    }
    ASSERT_EQ(consumed.size(), static_cast<std::size_t>(kFailing)) << threads << " threads";
    EXPECT_EQ(consumed.back(), kFailing - 1);
    EXPECT_EQ(worked.load(), produced) << "every item produced was worked on before Run ended";
    EXPECT_LE(produced, kFailing + static_cast<int>(threads) + 2);
  }
}

TEST(OrderedPipeline, AConsumerThatSaysStopEndsIt) {
  int produced = 0;
  std::atomic<int> worked = 0;
  std::vector<int> consumed;
  OrderedPipeline<Item>(4).Run(
      [&](Item& item) {
        item.index = produced++;
        return true;  // endless
      },
      [&](Item& item) {
        SlowSquare(item, 10);
        ++worked;
      },
      [&](Item& item) {
        consumed.push_back(item.index);
        return item.index < 9;
      });
  EXPECT_EQ(consumed.size(), 10u);
  EXPECT_LE(produced, 10 + 5);
  EXPECT_EQ(worked.load(), produced);
}

TEST(OrderedPipeline, AProducerOrConsumerThatRaisesEndsItOnceTheWorkersAreDone) {
  for (const bool producerFails : {true, false}) {
    int produced = 0;
    std::atomic<int> worked = 0;
    int consumed = 0;
    EXPECT_THROW(OrderedPipeline<Item>(3).Run(
                     [&](Item& item) {
                       if (producerFails && produced == 20) throw std::runtime_error("read");
                       item.index = produced++;
                       return true;
                     },
                     [&](Item& item) {
                       SlowSquare(item, 20);
                       ++worked;
                     },
                     [&](Item&) {
                       if (!producerFails && consumed == 5) throw std::runtime_error("write");
                       ++consumed;
                       return true;
                     }),
                 std::runtime_error);
    EXPECT_EQ(worked.load(), produced) << (producerFails ? "producer" : "consumer");
    EXPECT_EQ(consumed, producerFails ? 20 - 4 : 5);
  }
}

}  // namespace
}  // namespace tolvane
