#include "reading/Session.h"
#include "reading/classic/ReadingTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "platform/Cp936.h"
#include "platform/Error.h"

namespace tolvane {
namespace {

constexpr std::size_t kEntries = 6727;

std::string Gb(std::string_view utf8) { return cp936::EncodeFromUtf8(utf8); }

std::vector<std::string> Split(std::string_view list) {
  std::vector<std::string> items;
  for (std::size_t start = 0;;) {
    const std::size_t slash = list.find('/', start);
    items.emplace_back(list.substr(start, slash - start));
    if (slash == std::string_view::npos) return items;
    start = slash + 1;
  }
}

std::string Join(const std::vector<std::string>& items) {
  std::string list;
  for (const std::string& item : items) list += (list.empty() ? "" : "/") + item;
  return list;
}

// Order of numbered items: by syllable with v counted as u (u before v on a tie), then by tone.
std::tuple<std::string, std::string, char> ItemKey(const std::string& item) {
  std::string syllable = item.substr(0, item.size() - 1);
  std::string asU = syllable;
  std::replace(asU.begin(), asU.end(), 'v', 'u');
  return {asU, syllable, item.back()};
}

// Plain list of a numbered list: tone digits dropped, each syllable kept at its first place.
std::string DerivedPlain(std::string_view numbered) {
  std::vector<std::string> syllables;
  for (const std::string& item : Split(numbered)) {
    std::string syllable = item.substr(0, item.size() - 1);
    if (std::find(syllables.begin(), syllables.end(), syllable) == syllables.end())
      syllables.push_back(syllable);
  }
  return Join(syllables);
}

// Characters in UTF-8, converted to the GB2312 form the tables use.
std::set<std::string> GbSet(std::initializer_list<std::string_view> utf8) {
  std::set<std::string> set;
  for (std::string_view ch : utf8) set.insert(Gb(ch));
  return set;
}

class ReadingTableTest : public testing::Test {
 protected:
  Session session;

  void SetUp() override {
    session.InitNumberedTable();
    session.InitPlainTable();
    numbered_ = session.Data()->NumberedReadingTable();
    plain_ = session.Data()->PlainReadingTable();
  }
  ReadingTable numbered_;
  ReadingTable plain_;
};

struct TellingRow {
  std::string_view character;  // UTF-8
  std::string_view numbered;
  std::string_view plain;
};

void PrintTo(const TellingRow& row, std::ostream* os) { *os << row.character; }

class TellingRowTest : public ReadingTableTest, public testing::WithParamInterface<TellingRow> {};

TEST_P(TellingRowTest, BothTablesHoldTheReadings) {
  const TellingRow& row = GetParam();
  const std::string ch = Gb(row.character);
  ASSERT_EQ(ch.size(), 2u) << row.character;
  EXPECT_EQ(numbered_.Find(ch), row.numbered) << row.character;
  EXPECT_EQ(plain_.Find(ch), row.plain) << row.character;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TellingRowTest,
    testing::Values(
        TellingRow{"中", "zhong1/zhong4", "zhong"}, TellingRow{"国", "guo2", "guo"},
        TellingRow{"的", "de5/di2/di4", "de/di"}, TellingRow{"了", "le5/liao3/liao4", "le/liao"},
        TellingRow{"和", "he2/he4/hu2/huo2/huo4", "he/hu/huo"},
        TellingRow{"行", "hang2/hang4/heng2/xing2", "hang/heng/xing"},
        TellingRow{"长", "chang2/zhang3", "chang/zhang"}, TellingRow{"绿", "lu4/lv4", "lu/lv"},
        TellingRow{"女", "nv3", "nv"}, TellingRow{"呒", "m2", "m"},
        TellingRow{"哼", "heng1/hng5", "heng/hng"}, TellingRow{"阿", "a1/a5/e1", "a/e"},
        TellingRow{"啊", "a1/a2/a3/a4/a5", "a"}, TellingRow{"广", "guang3/an1", "an/guang"},
        TellingRow{"红", "gong1/hong2", "gong/hong"},
        TellingRow{"重", "chong2/zhong4", "chong/zhong"},
        TellingRow{"种", "chong2/zhong3/zhong4", "chong/zhong"},
        TellingRow{"着", "zhao1/zhao2/zhe5/zhuo2", "zhao/zhe/zhuo"},
        TellingRow{"都", "dou1/du1", "dou/du"}, TellingRow{"上", "shang3/shang4", "shang"},
        TellingRow{"厂", "chang3/an1", "an/chang"}, TellingRow{"吓", "xia4/he4", "he/xia"},
        TellingRow{"唔", "wu2/en2/en3/eng2/eng3", "wu/en/eng"},
        TellingRow{"嗯", "en2/en3/en4/eng2/eng3/eng4", "en/eng"},
        TellingRow{"呵", "a1/a2/a3/a4/a5/he1/ke1", "a/he/ke"}, TellingRow{"嘬", "zuo1", "zuo"},
        TellingRow{"略", "lue4", "lue"}, TellingRow{"不", "bu2/bu4", "bu"},
        TellingRow{"说", "shui4/shuo1", "shui/shuo"}, TellingRow{"好", "hao3/hao4", "hao"}));

TEST_F(ReadingTableTest, InitAgainChangesNothing) {
  const std::string zhong = Gb("中");
  session.InitNumberedTable();
  session.InitPlainTable();
  numbered_ = session.Data()->NumberedReadingTable();
  plain_ = session.Data()->PlainReadingTable();
  for (const ReadingTable* table : {&numbered_, &plain_}) {
    EXPECT_EQ(table->Count(), kEntries);
    EXPECT_TRUE(table->Find(zhong));
  }
}

TEST_F(ReadingTableTest, NonKeysFindNothing) {
  const std::vector<std::string> probes = {
      Gb("亻"),               // radical form, left out on purpose
      Gb("，"),               // full-width comma (row A3)
      "a",                    // ASCII letter
      "7",                    // ASCII digit
      Gb("中国"),             // two characters
      Gb("中 "),              // character followed by a blank
      Gb("中").substr(0, 1),  // half a character
      "",                     // empty
      "\x81\x40",             // GBK code outside GB2312
      "\xB0\xA0",             // trail byte just below the GB2312 range
      "\xD7\xFA",             // unassigned cell after the last level-1 character
  };
  for (const ReadingTable* table : {&numbered_, &plain_}) {
    for (std::size_t i = 0; i < probes.size(); ++i) {
      EXPECT_FALSE(table->Find(probes[i])) << "probe " << i;
      EXPECT_FALSE(table->FindIndex(probes[i])) << "probe " << i;
    }
  }
}

TEST_F(ReadingTableTest, AtPastTheEndThrows) {
  for (const ReadingTable* table : {&numbered_, &plain_}) {
    EXPECT_NO_THROW(table->At(table->Count() - 1));
    try {
      table->At(table->Count());
      ADD_FAILURE() << "At(Count()) did not throw";
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "List index out of bounds (6727)");
    }
    EXPECT_THROW(table->At(static_cast<std::size_t>(-1)), Error);
  }
}

TEST_F(ReadingTableTest, BothTablesHoldExactlyTheReadableGb2312Hanzi) {
  const std::set<std::string> radicals =
      GbSet({"匚", "刂", "冂", "亻", "勹", "亠", "冫", "冖", "讠", "卩", "阝", "廴",
             "凵", "艹", "廾", "扌", "彡", "犭", "夂", "饣", "忄", "丬", "氵", "宀",
             "辶", "彐", "屮", "纟", "攵", "灬", "礻", "肀", "钅", "疒", "衤", "虍"});
  ASSERT_EQ(radicals.size(), 36u);
  std::set<std::string> expected;
  for (int row = 0xB0; row <= 0xF7; ++row) {
    for (int cell = 0xA1; cell <= (row == 0xD7 ? 0xF9 : 0xFE); ++cell) {
      const std::string ch{static_cast<char>(row), static_cast<char>(cell)};
      if (!radicals.count(ch)) expected.insert(ch);
    }
  }
  ASSERT_EQ(expected.size(), kEntries);

  for (const ReadingTable* table : {&numbered_, &plain_}) {
    ASSERT_EQ(table->Count(), kEntries);
    std::set<std::string> actual;
    for (std::size_t i = 0; i < table->Count(); ++i) {
      const ReadingTableEntry& entry = table->At(i);
      EXPECT_TRUE(actual.emplace(entry.character).second) << "duplicate at " << i;
      EXPECT_EQ(table->FindIndex(entry.character), i);
      EXPECT_EQ(table->Find(entry.character), entry.readings);
    }
    EXPECT_EQ(actual, expected);
  }
}

TEST_F(ReadingTableTest, ItemsAreWellFormed) {
  const auto checkSyllable = [](const std::string& syllable, const std::string& list) {
    EXPECT_FALSE(syllable.empty()) << list;
    EXPECT_TRUE(std::all_of(syllable.begin(), syllable.end(), [](char c) {
      return c >= 'a' && c <= 'z';
    })) << list;
    if (syllable.find('v') != std::string::npos) {
      EXPECT_TRUE(syllable == "lv" || syllable == "nv") << list;
    }
  };
  for (const ReadingTable* table : {&numbered_, &plain_}) {
    const bool withTones = table == &numbered_;
    for (std::size_t i = 0; i < table->Count(); ++i) {
      const std::string list(table->At(i).readings);
      std::vector<std::string> items = Split(list);
      for (const std::string& item : items) {
        if (withTones) {
          ASSERT_GE(item.size(), 2u) << list;
          EXPECT_TRUE(item.back() >= '1' && item.back() <= '5') << list;
          checkSyllable(item.substr(0, item.size() - 1), list);
        } else {
          checkSyllable(item, list);
        }
      }
      std::sort(items.begin(), items.end());
      EXPECT_EQ(std::adjacent_find(items.begin(), items.end()), items.end()) << list;
    }
  }
}

TEST_F(ReadingTableTest, NumberedItemsAreSortedExceptFourEntries) {
  std::set<std::string> unsorted;
  for (std::size_t i = 0; i < numbered_.Count(); ++i) {
    const std::vector<std::string> items = Split(numbered_.At(i).readings);
    if (!std::is_sorted(items.begin(), items.end(),
                        [](const auto& a, const auto& b) { return ItemKey(a) < ItemKey(b); }))
      unsorted.emplace(numbered_.At(i).character);
  }
  EXPECT_EQ(unsorted, GbSet({"广", "厂", "吓", "唔"}));
}

TEST_F(ReadingTableTest, PlainListsFollowFromNumberedExceptThreeEntries) {
  std::set<std::string> departing;
  for (std::size_t i = 0; i < numbered_.Count(); ++i) {
    const ReadingTableEntry& entry = numbered_.At(i);
    const std::optional<std::string_view> plain = plain_.Find(entry.character);
    ASSERT_TRUE(plain);
    const std::string derived = DerivedPlain(entry.readings);
    if (*plain == derived) continue;
    departing.emplace(entry.character);
    // The departures reorder the syllables but never change them: they are kept sorted.
    std::vector<std::string> sorted = Split(derived);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(*plain, Join(sorted));
  }
  EXPECT_EQ(departing, GbSet({"广", "厂", "吓"}));
}

}  // namespace
}  // namespace tolvane
