#include "platform/ByteScan.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using Scan = std::size_t (*)(std::string_view, std::size_t);

struct Implementation {
  const char* name;
  Scan scan;
};

// The plain scans the fast ones must agree with.
std::size_t ReferenceNonAscii(std::string_view bytes, std::size_t pos) {
  while (pos < bytes.size() && static_cast<unsigned char>(bytes[pos]) < 0x80) ++pos;
  return pos;
}
std::size_t ReferenceLineEnd(std::string_view bytes, std::size_t pos) {
  while (pos < bytes.size() && bytes[pos] != '\r' && bytes[pos] != '\n' && bytes[pos] != '\0')
    ++pos;
  return pos;
}

// What the scan must pass over and what it must stop at. The bytes it passes include the
// near misses of each trick: every ASCII byte for the high-bit test, and for the line ends the
// other bytes below 14 and the line ends with their high bit set.
struct ScanCase {
  const char* what;
  Scan reference;
  std::vector<Implementation> implementations;
  std::string passed;
  std::string stops;
};

std::vector<ScanCase> Cases() {
  std::string ascii;
  for (int c = 0; c < 0x80; ++c) ascii.push_back(static_cast<char>(c));
  std::vector<ScanCase> cases;
  cases.push_back({"FindNonAscii",
                   ReferenceNonAscii,
                   {
                       {"chosen", bytescan::FindNonAscii},
                       {"words", bytescan::detail::FindNonAsciiByWords},
#ifdef __SSE2__
                       {"SSE2", bytescan::detail::FindNonAsciiSse2},
#endif
                   },
                   ascii,
                   "\x80\xFF\xC3\xE4\xED"});
  cases.push_back({"FindLineEnd",
                   ReferenceLineEnd,
                   {
                       {"chosen", bytescan::FindLineEnd},
                       {"words", bytescan::detail::FindLineEndByWords},
#ifdef __SSE2__
                       {"SSE2", bytescan::detail::FindLineEndSse2},
#endif
                   },
                   "a\x01\t\x0B\x0C\x0E\x1F \x7F\x80\x8A\x8D\xFF\xE4",
                   std::string("\r\n\0", 3)});
  return cases;
}

// Every length up to a few blocks, at every alignment, started at every early position, with
// nothing to stop at or a byte to stop at in every place (and often a second one after it).
// Bytes to stop at also stand just before and just after the view, where no scan may look.
TEST(ByteScan, FastScansAgreeWithAByteByByteScan) {
  constexpr std::size_t kMaxLength = 70;
  constexpr std::size_t kAlignments = 16;
  for (const ScanCase& c : Cases()) {
    for (const Implementation& implementation : c.implementations) {
      SCOPED_TRACE(std::string(c.what) + " " + implementation.name);
      std::size_t failures = 0;
      for (std::size_t length = 0; length <= kMaxLength; ++length) {
        for (std::size_t alignment = 0; alignment < kAlignments; ++alignment) {
          // Heap memory is aligned to at least 16 bytes, so the view starts `alignment` bytes
          // past a block boundary.
          const auto buffer = std::make_unique<char[]>(alignment + length + 16);
          const std::size_t guard = length + alignment;         // one past the view's last byte
          for (std::size_t stop = 0; stop <= length; ++stop) {  // length: nothing to stop at
            for (std::size_t i = 0; i < alignment + length + 16; ++i) {
              // Past the end, every second byte: a scan that reads on finds the second.
              const bool stopHere = i < alignment || (i >= guard && (i - guard) % 2 == 1);
              buffer[i] = stopHere ? c.stops[i % c.stops.size()]
                                   : c.passed[(i * 7 + stop + length) % c.passed.size()];
            }
            const std::string_view view(buffer.get() + alignment, length);
            if (stop < length) {
              buffer[alignment + stop] = c.stops[(stop + length) % c.stops.size()];
              const std::size_t second = stop + 1 + stop % 11;
              if (stop % 3 == 0 && second < length)
                buffer[alignment + second] = c.stops[stop % c.stops.size()];
            }
            for (std::size_t from = 0; from <= length && from < 20; ++from) {
              const std::size_t expected = c.reference(view, from);
              const std::size_t found = implementation.scan(view, from);
              if (found != expected && ++failures <= 10) {
                ADD_FAILURE() << "length " << length << ", alignment " << alignment << ", stop at "
                              << stop << ", from " << from << ": found " << found << ", expected "
                              << expected;
              }
            }
          }
        }
      }
      EXPECT_EQ(failures, 0u);
    }
  }
}

// A view that ends where readable memory ends: a scan that reads a byte past the end fails
// here in every build, not only under AddressSanitizer.
TEST(ByteScan, NoScanReadsPastTheEnd) {
  const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  void* mapped =
      mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  char* const memory = static_cast<char*>(mapped);
  ASSERT_EQ(mprotect(memory + page, page, PROT_NONE), 0);
  for (const ScanCase& c : Cases()) {
    for (const Implementation& implementation : c.implementations) {
      SCOPED_TRACE(std::string(c.what) + " " + implementation.name);
      for (std::size_t length = 0; length <= 70; ++length) {
        char* const begin = memory + page - length;
        for (std::size_t i = 0; i < length; ++i) begin[i] = c.passed[i % c.passed.size()];
        const std::string_view view(begin, length);
        for (std::size_t from = 0; from <= length; ++from)
          EXPECT_EQ(implementation.scan(view, from), length) << "length " << length;
      }
    }
  }
  munmap(mapped, 2 * page);
}

TEST(ByteScan, StopsWhereTheByteByByteScanStops) {
  struct Case {
    Scan scan;
    std::string_view bytes;
    std::size_t from;
    std::size_t expected;
  };
  const Case cases[] = {
      {bytescan::FindNonAscii, "", 0, 0},
      {bytescan::FindNonAscii, "plain ASCII text, longer than one block", 0, 39},
      {bytescan::FindNonAscii, "plain ASCII text, longer than one block\xE4\xB8\xAD", 0, 39},
      {bytescan::FindNonAscii, "\xE4\xB8\xAD", 0, 0},
      {bytescan::FindNonAscii, "\xE4\xB8\xAD", 3, 3},
      {bytescan::FindLineEnd, "", 0, 0},
      {bytescan::FindLineEnd, "tab\tand form feed\x0C are no line ends\r\n", 0, 35},
      {bytescan::FindLineEnd, "a\r\nb", 1, 1},
      {bytescan::FindLineEnd, "a\r\nb", 2, 2},
      {bytescan::FindLineEnd, "a\r\nb", 3, 4},
      {bytescan::FindLineEnd, std::string_view("text of more than sixteen bytes\0\n", 33), 0, 31},
      {bytescan::FindLineEnd, "\x8D\x8A\xE4\xB8\xAD\n", 0, 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.scan(c.bytes, c.from), c.expected) << c.bytes << " from " << c.from;
  }
}

}  // namespace
}  // namespace tolvane
