// A source file opened for proofreading reads as a conversion reads it, whatever its encoding.
#include <gtest/gtest.h>

#include "documents/ProofreadingSource.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

TEST(ProofreadingSourceTest, EveryEncodingARunReadsComesInAsUtf8Lines) {
  struct Case {
    const char* what;
    std::string bytes;
    const char* text;
  };
  const Case cases[] = {
      {"UTF-8 with CR LF", "银行\r\n行走\r\n", "银行\n行走"},
      {"UTF-8 with a mark", "\xef\xbb\xbf银行", "银行"},
      {"GB2312", "\xd2\xf8\xd0\xd0\r\n", "银行"},
      {"UTF-16 little endian", std::string("\xff\xfe\xf6\x94\x4c\x88", 6), "银行"},
      {"UTF-16 big endian", std::string("\xfe\xff\x94\xf6\x88\x4c", 6), "银行"},
      {"empty", "", ""},
  };
  test::TempDir folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::WriteBytes(folder / "source.txt", c.bytes);
    EXPECT_EQ(SourceTextUtf8(folder / "source.txt"), c.text);
  }
}

}  // namespace
}  // namespace tolvane
