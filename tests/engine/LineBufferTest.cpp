#include "engine/LineBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvane {
namespace {

TEST(LineBuffer, AppendsPiecesOfEveryLengthExactly) {
  // Short pieces are copied in fixed-size steps by size class; every length, at every offset
  // after the ones before, and across the growth of the buffer.
  std::string source;
  for (int i = 0; i < 64; ++i) source.push_back(static_cast<char>('A' + i % 53));
  LineBuffer buffer;
  std::string expected;
  for (std::size_t round = 0; round < 3; ++round) {
    for (std::size_t n = 0; n <= 40; ++n) {
      const std::string_view piece = std::string_view(source).substr(round + n % 7, n);
      buffer.Append(piece);
      expected += piece;
      buffer.AppendSpaces(n % 19);
      expected.append(n % 19, ' ');
      buffer.Push('|');
      expected.push_back('|');
    }
  }
  EXPECT_EQ(buffer.view(), expected);
  buffer.DropFirstByte();
  EXPECT_EQ(buffer.view(), std::string_view(expected).substr(1));
  buffer.clear();
  EXPECT_EQ(buffer.size(), 0u);
  buffer.Append("ab");
  buffer.AppendSpaces(16);
  buffer.AppendSpaces(17);
  EXPECT_EQ(buffer.view(), "ab" + std::string(33, ' '));
}

}  // namespace
}  // namespace tolvane
