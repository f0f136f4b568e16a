#include "reading/context/OpenTable.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace tolvane {
namespace {

// Key sets that stress a hash table each in its own way: neighbours, keys that differ only in
// their high bits or only above the bits a slot is picked from, and keys drawn at random.
std::map<std::string, std::vector<std::uint64_t>> KeySets() {
  std::map<std::string, std::vector<std::uint64_t>> sets;
  for (std::uint64_t k = 0; k < 3000; ++k) sets["neighbours"].push_back(k);
  for (std::uint64_t k = 1; k < 3000; ++k) sets["high bits only"].push_back(k << 44);
  for (std::uint64_t k = 0; k < 3000; ++k) sets["steps of 2^20"].push_back(k << 20 | 5);
  std::mt19937_64 random(7);
  for (int i = 0; i < 3000; ++i) sets["random"].push_back(random() >> 1);
  // The keys the phrase data uses: two code points side by side.
  for (char32_t first = 0x4E00; first < 0x4E40; ++first)
    for (char32_t second : {U'\u4E00', U'\u4E01', U'\u9FA5', U'\U00020000'})
      sets["code point pairs"].push_back(std::uint64_t{first} << 21 | second);
  return sets;
}

TEST(OpenTable, FindsEveryKeyItHoldsAndNoOther) {
  for (const auto& [name, keys] : KeySets()) {
    // Sized for the keys up front, and grown from nothing.
    for (const std::size_t room : {keys.size(), std::size_t{0}}) {
      SCOPED_TRACE(name + (room == 0 ? ", grown" : ", sized"));
      OpenTable<std::uint32_t> table(room);
      for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto [value, added] = table.Insert(keys[i], static_cast<std::uint32_t>(i));
        ASSERT_TRUE(added) << i;
        ASSERT_EQ(*value, i);
      }
      EXPECT_EQ(table.size(), keys.size());
      std::size_t wrong = 0;
      for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::uint32_t* value = table.Find(keys[i]);
        wrong += value == nullptr || *value != i;
      }
      EXPECT_EQ(wrong, 0u);
      // Keys next to the ones held, that the table does not hold.
      std::size_t phantoms = 0;
      for (const std::uint64_t key : keys) {
        for (const std::uint64_t other : {key + (1ULL << 62), key ^ (1ULL << 61)})
          phantoms += table.Find(other) != nullptr;
      }
      EXPECT_EQ(phantoms, 0u);
    }
  }
}

TEST(OpenTable, AKeyInsertedAgainKeepsItsValueUnlessChangedThroughTheResult) {
  OpenTable<std::uint16_t> table(4);
  EXPECT_TRUE(table.Insert(42, 1).second);
  const auto [value, added] = table.Insert(42, 2);
  EXPECT_FALSE(added);
  EXPECT_EQ(*value, 1);
  *value = 3;
  ASSERT_NE(table.Find(42), nullptr);
  EXPECT_EQ(*table.Find(42), 3);
  EXPECT_EQ(table.size(), 1u);
}

TEST(OpenTable, AnEmptyTableFindsNothing) {
  const OpenTable<std::uint16_t> empty;
  for (const std::uint64_t key : {0ULL, 1ULL, 0x4E00ULL << 21, ~0ULL >> 1})
    EXPECT_EQ(empty.Find(key), nullptr) << key;
  EXPECT_EQ(empty.size(), 0u);
}

TEST(OpenTable, ATableSizedForItsKeysStaysAtMostThreeQuartersFullAndNeverGrows) {
  const struct {
    std::size_t keys;
    std::size_t slots;
  } cases[] = {{0, 16}, {12, 16}, {13, 32}, {96, 128}, {97, 256}, {216472, 524288}};
  for (const auto& c : cases) {
    OpenTable<std::uint16_t> table(c.keys);
    const std::size_t before = table.MemoryBytes();
    EXPECT_EQ(before, c.slots * (sizeof(std::uint64_t) + sizeof(std::uint16_t))) << c.keys;
    for (std::size_t k = 0; k < c.keys; ++k) table.Insert(k * 977, 1);
    EXPECT_EQ(table.MemoryBytes(), before) << c.keys;
  }
}

TEST(OpenTable, ACustomEmptyMarkerLeavesEveryOtherKeyFree) {
  // A table whose keys may be ~0 marks its free slots with another key; ~0 is then a key like any.
  OpenTable<int, 0> table;
  EXPECT_TRUE(table.Insert(~0ULL, 5).second);
  EXPECT_TRUE(table.Insert(1, 6).second);
  ASSERT_NE(table.Find(~0ULL), nullptr);
  EXPECT_EQ(*table.Find(~0ULL), 5);
  EXPECT_EQ(*table.Find(1), 6);
  EXPECT_EQ(table.Find(2), nullptr);
}

}  // namespace
}  // namespace tolvane
