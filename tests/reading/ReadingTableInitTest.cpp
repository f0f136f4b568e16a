// The reading tables are process-wide, so the state before start-up can only be seen in a
// binary of its own that nothing else initialises first. Keep this file's one test alone.
#include <gtest/gtest.h>

#include <string>

#include "platform/Error.h"
#include "reading/classic/ReadingTable.h"

namespace tolvane {
namespace {

TEST(ReadingTableInitTest, TablesAreEmptyUntilTheirOwnInitRuns) {
  const std::string zhong = "\xD6\xD0";  // 中
  const ReadingTable& numbered = NumberedReadingTable();
  const ReadingTable& plain = PlainReadingTable();

  for (const ReadingTable* table : {&numbered, &plain}) {
    EXPECT_EQ(table->Count(), 0u);
    EXPECT_FALSE(table->Find(zhong));
    EXPECT_FALSE(table->FindIndex(zhong));
    EXPECT_THROW(table->At(0), Error);
  }

  // Each Init fills its own table only.
  InitNumberedTable();
  EXPECT_EQ(numbered.Count(), 6727u);
  EXPECT_EQ(numbered.Find(zhong), "zhong1/zhong4");
  EXPECT_EQ(plain.Count(), 0u);
  EXPECT_FALSE(plain.Find(zhong));

  InitPlainTable();
  InitNumberedTable();
  InitPlainTable();
  EXPECT_EQ(numbered.Count(), 6727u);
  EXPECT_EQ(plain.Count(), 6727u);
  EXPECT_EQ(plain.Find(zhong), "zhong");
}

}  // namespace
}  // namespace tolvane
