// A session's built-in tables are empty until their own Init operation has run.
#include <gtest/gtest.h>

#include <string>

#include "platform/Error.h"
#include "reading/Session.h"
#include "reading/classic/ReadingTable.h"

namespace tolvane {
namespace {

TEST(ReadingTableInitTest, TablesAreEmptyUntilTheirOwnInitRuns) {
  Session session;
  const std::string zhong = "\xD6\xD0";  // 中
  ReadingTable numbered = session.Data()->NumberedReadingTable();
  ReadingTable plain = session.Data()->PlainReadingTable();
  const auto reread = [&] {
    numbered = session.Data()->NumberedReadingTable();
    plain = session.Data()->PlainReadingTable();
  };

  for (const ReadingTable* table : {&numbered, &plain}) {
    EXPECT_EQ(table->Count(), 0u);
    EXPECT_FALSE(table->Find(zhong));
    EXPECT_FALSE(table->FindIndex(zhong));
    EXPECT_THROW(table->At(0), Error);
  }

  // Each Init fills its own table only.
  session.InitNumberedTable();
  reread();
  EXPECT_EQ(numbered.Count(), 6727u);
  EXPECT_EQ(numbered.Find(zhong), "zhong1/zhong4");
  EXPECT_EQ(plain.Count(), 0u);
  EXPECT_FALSE(plain.Find(zhong));

  session.InitPlainTable();
  session.InitNumberedTable();
  session.InitPlainTable();
  reread();
  EXPECT_EQ(numbered.Count(), 6727u);
  EXPECT_EQ(plain.Count(), 6727u);
  EXPECT_EQ(plain.Find(zhong), "zhong");
}

}  // namespace
}  // namespace tolvane
