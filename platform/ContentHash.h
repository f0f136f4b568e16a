#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

// A fast 64-bit hash of bytes, to tell whether a file's contents are those something was made
// from. Not cryptographic: it catches a changed or damaged file, not one forged on purpose.
namespace tolvane {

// The hash of `bytes`, continuing from `seed` (the hash of what came before, or 0).
std::uint64_t HashBytes(std::string_view bytes, std::uint64_t seed = 0);

// A file's size and the hash of its contents.
struct FileFingerprint {
  std::uint64_t size = 0;
  std::uint64_t hash = 0;
  bool operator==(const FileFingerprint&) const = default;
};
// The fingerprint of a file, read a piece at a time so that its pages need not stay in memory;
// none when the file cannot be read.
std::optional<FileFingerprint> FingerprintFile(const std::filesystem::path& file);

}  // namespace tolvane
