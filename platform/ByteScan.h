#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// Scans over raw bytes that pass over the common bytes many at a time: ASCII when decoding or
// checking a text, the bytes of a line when cutting a text into lines. Sixteen bytes at a time
// where the processor has SSE2 (every x86-64 does), else eight in a 64-bit word. The decoders
// call them once per character of running text, so they are inline.
//
// Each takes the position to start at (at most the size) and returns the position of the first
// byte it stops at, or the size when it finds none.
namespace tolvane::bytescan {

namespace detail {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

inline std::uint64_t Load8(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, 8);
  return word;
}

// The byte offset, within a word loaded from memory, of the lowest-addressed byte whose bit is
// set in `highBits` (one bit, the high one, per byte).
inline std::size_t FirstMarkedByte(std::uint64_t highBits) {
  if constexpr (std::endian::native == std::endian::little) {
    return static_cast<std::size_t>(std::countr_zero(highBits)) / 8;
  } else {
    return static_cast<std::size_t>(std::countl_zero(highBits)) / 8;
  }
}

inline bool IsLineEnd(char c) { return c == '\n' || c == '\r' || c == '\0'; }

// The same scans a word at a time, for processors without SSE2 (and tested on those with it).
inline std::size_t FindNonAsciiByWords(std::string_view bytes, std::size_t pos) {
  const char* data = bytes.data();
  const std::size_t size = bytes.size();
  for (; pos + 8 <= size; pos += 8) {
    const std::uint64_t high = Load8(data + pos) & kHighBits;
    if (high != 0) return pos + FirstMarkedByte(high);
  }
  while (pos < size && static_cast<unsigned char>(data[pos]) < 0x80) ++pos;
  return pos;
}

inline std::size_t FindLineEndByWords(std::string_view bytes, std::size_t pos) {
  const char* data = bytes.data();
  const std::size_t size = bytes.size();
  for (;;) {
    // Words without a byte below 14 hold no line end. The test is exact for the word's
    // lowest-addressed such byte only (a borrow can mark the bytes above it), so the word that
    // has one is searched byte by byte.
    while (pos + 8 <= size) {
      const std::uint64_t word = Load8(data + pos);
      if (((word - kOnes * 14) & ~word & kHighBits) != 0) break;
      pos += 8;
    }
    const std::size_t end = pos + 8 <= size ? pos + 8 : size;
    for (; pos < end; ++pos) {
      if (IsLineEnd(data[pos])) return pos;
    }
    if (pos >= size) return size;
  }
}

#ifdef __SSE2__
inline std::size_t FindNonAsciiSse2(std::string_view bytes, std::size_t pos) {
  const char* data = bytes.data();
  const std::size_t size = bytes.size();
  for (; pos + 16 <= size; pos += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
    const int high = _mm_movemask_epi8(block);
    if (high != 0)
      return pos + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(high)));
  }
  return FindNonAsciiByWords(bytes, pos);
}

inline std::size_t FindLineEndSse2(std::string_view bytes, std::size_t pos) {
  const char* data = bytes.data();
  const std::size_t size = bytes.size();
  const __m128i limit = _mm_set1_epi8(13);
  for (; pos + 16 <= size; pos += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
    // The bytes below 14 (an unsigned byte is at most 13 where the minimum of the two is the
    // byte): a line end or, rarely, a tab or another control byte to pass over.
    unsigned below14 =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(block, limit), block)));
    for (; below14 != 0; below14 &= below14 - 1) {
      const std::size_t at = pos + static_cast<std::size_t>(std::countr_zero(below14));
      if (IsLineEnd(data[at])) return at;
    }
  }
  for (; pos < size; ++pos) {
    if (IsLineEnd(data[pos])) return pos;
  }
  return size;
}
#endif

}  // namespace detail

// The first byte at or after `pos` that is not ASCII (0x80 and above).
inline std::size_t FindNonAscii(std::string_view bytes, std::size_t pos = 0) {
  // In Chinese text the scan mostly starts at a non-ASCII byte. Answering that by a branch,
  // which the processor predicts, keeps the next character's decoding from waiting on a load
  // and a bit count; it doubles the speed of decoding prose.
  if (pos < bytes.size() && static_cast<unsigned char>(bytes[pos]) >= 0x80) return pos;
#ifdef __SSE2__
  return detail::FindNonAsciiSse2(bytes, pos);
#else
  return detail::FindNonAsciiByWords(bytes, pos);
#endif
}

// The first CR, LF or NUL at or after `pos`: the bytes that end a line or the text.
inline std::size_t FindLineEnd(std::string_view bytes, std::size_t pos = 0) {
#ifdef __SSE2__
  return detail::FindLineEndSse2(bytes, pos);
#else
  return detail::FindLineEndByWords(bytes, pos);
#endif
}

}  // namespace tolvane::bytescan
