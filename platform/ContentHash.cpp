#include "platform/ContentHash.h"

#include <fcntl.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>

namespace tolvane {
namespace {

// The primes and rounds of xxHash64 (public domain in its description): four lanes of eight
// bytes each take a multiply and a rotation per word, so the hash keeps up with memory.
constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ULL;
constexpr std::uint64_t kPrime4 = 0x85EBCA77C2B2AE63ULL;
constexpr std::uint64_t kPrime5 = 0x27D4EB2F165667C5ULL;

std::uint64_t Word64(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
}

std::uint32_t Word32(const char* p) {
  std::uint32_t word;
  std::memcpy(&word, p, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap32(word);
  return word;
}

std::uint64_t Round(std::uint64_t lane, std::uint64_t word) {
  return std::rotl(lane + word * kPrime2, 31) * kPrime1;
}

std::uint64_t MergeLane(std::uint64_t hash, std::uint64_t lane) {
  return (hash ^ Round(0, lane)) * kPrime1 + kPrime4;
}

}  // namespace

std::uint64_t HashBytes(std::string_view bytes, std::uint64_t seed) {
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  std::uint64_t hash;
  if (bytes.size() >= 32) {
    // Four lanes in four registers: independent chains the processor runs side by side.
    std::uint64_t a = seed + kPrime1 + kPrime2;
    std::uint64_t b = seed + kPrime2;
    std::uint64_t c = seed;
    std::uint64_t d = seed - kPrime1;
    for (; end - p >= 32; p += 32) {
      a = Round(a, Word64(p));
      b = Round(b, Word64(p + 8));
      c = Round(c, Word64(p + 16));
      d = Round(d, Word64(p + 24));
    }
    hash = std::rotl(a, 1) + std::rotl(b, 7) + std::rotl(c, 12) + std::rotl(d, 18);
    for (const std::uint64_t lane : {a, b, c, d}) hash = MergeLane(hash, lane);
  } else {
    hash = seed + kPrime5;
  }
  hash += bytes.size();
  for (; end - p >= 8; p += 8) hash = std::rotl(hash ^ Round(0, Word64(p)), 27) * kPrime1 + kPrime4;
  if (end - p >= 4) {
    hash = std::rotl(hash ^ (std::uint64_t{Word32(p)} * kPrime1), 23) * kPrime2 + kPrime3;
    p += 4;
  }
  for (; p < end; ++p)
    hash = std::rotl(hash ^ (static_cast<unsigned char>(*p) * kPrime5), 11) * kPrime1;
  hash ^= hash >> 33;
  hash *= kPrime2;
  hash ^= hash >> 29;
  hash *= kPrime3;
  hash ^= hash >> 32;
  return hash;
}

std::optional<FileFingerprint> FingerprintFile(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  // Pieces of a fixed size, each hashed on from the one before: the same file gives the same
  // fingerprint however the reads come back. A piece small enough to stay in the processor's
  // second-level cache: the kernel's copy into it and the hash reading it back both hit the
  // cache, which makes the whole more than twice as fast as with pieces of a megabyte (the copy
  // is most of the cost; the hash runs at well over 10 GB/s).
  constexpr std::size_t kPiece = 128 << 10;
  const auto buffer = std::make_unique_for_overwrite<char[]>(kPiece);
  FileFingerprint fingerprint;
  std::size_t held = 0;
  for (;;) {
    const ssize_t got = ::read(fd, buffer.get() + held, kPiece - held);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      ::close(fd);
      return std::nullopt;
    }
    held += static_cast<std::size_t>(got);
    fingerprint.size += static_cast<std::uint64_t>(got);
    if (held == kPiece || (got == 0 && held > 0)) {
      fingerprint.hash = HashBytes(std::string_view(buffer.get(), held), fingerprint.hash);
      held = 0;
    }
    if (got == 0) break;
  }
  ::close(fd);
  return fingerprint;
}

}  // namespace tolvane
