#include "reading/classic/ReadingTable.h"

#include <array>
#include <cstdint>
#include <iterator>
#include <stdexcept>

#include "platform/Error.h"
#include "reading/classic/ReadingTableData_generated.h"

namespace tolvane {
namespace {

// GB2312 codes are two bytes, each from 0xA1 to 0xFE: 94 rows of 94 cells.
constexpr unsigned kFirstByte = 0xA1;
constexpr unsigned kLastByte = 0xFE;
constexpr std::size_t kSide = kLastByte - kFirstByte + 1;

using Index = std::array<std::int16_t, kSide * kSide>;

// Position of `character` in an Index, or -1 when it is not a two-byte GB2312 code. Anything
// else (one byte, a GBK code outside GB2312, a longer string) can never be a table key.
constexpr std::ptrdiff_t Slot(std::string_view character) {
  if (character.size() != 2) return -1;
  const auto row = static_cast<unsigned char>(character[0]);
  const auto cell = static_cast<unsigned char>(character[1]);
  if (row < kFirstByte || row > kLastByte || cell < kFirstByte || cell > kLastByte) return -1;
  return static_cast<std::ptrdiff_t>((row - kFirstByte) * kSide + (cell - kFirstByte));
}

// The index of a table, computed by the compiler so that start-up costs nothing. A key that is
// not a GB2312 code stops the build (a throw cannot be evaluated in a constant expression).
template <std::size_t N>
constexpr Index BuildIndex(const ReadingTableEntry (&entries)[N]) {
  static_assert(N <= INT16_MAX, "entry numbers must fit the index's int16_t");
  Index index{};
  index.fill(-1);
  for (std::size_t i = 0; i < N; ++i) {
    const std::ptrdiff_t slot = Slot(entries[i].character);
    if (slot < 0) throw std::logic_error("reading table key is not a GB2312 character");
    // Keys are unique, but should one ever repeat, the first entry in table order is the one
    // that lookups find, as a linear search would.
    if (index[slot] < 0) index[slot] = static_cast<std::int16_t>(i);
  }
  return index;
}

constexpr Index kNumberedIndex = BuildIndex(reading_table_data::kNumbered);
constexpr Index kPlainIndex = BuildIndex(reading_table_data::kPlain);

constexpr ReadingTable::Data kNumberedData{
    reading_table_data::kNumbered, std::size(reading_table_data::kNumbered), kNumberedIndex.data()};
constexpr ReadingTable::Data kPlainData{reading_table_data::kPlain,
                                        std::size(reading_table_data::kPlain), kPlainIndex.data()};

}  // namespace

std::size_t ReadingTable::Count() const { return data_ != nullptr ? data_->count : 0; }

const ReadingTableEntry& ReadingTable::At(std::size_t index) const {
  if (index >= Count()) throw ListIndexOutOfBounds(static_cast<long long>(index));
  return data_->entries[index];
}

std::optional<std::size_t> ReadingTable::FindIndex(std::string_view character) const {
  if (data_ == nullptr) return std::nullopt;
  const std::ptrdiff_t slot = Slot(character);
  if (slot < 0) return std::nullopt;
  const std::int16_t entry = data_->index[slot];
  if (entry < 0) return std::nullopt;
  return static_cast<std::size_t>(entry);
}

std::optional<std::string_view> ReadingTable::Find(std::string_view character) const {
  const std::optional<std::size_t> index = FindIndex(character);
  if (!index) return std::nullopt;
  return data_->entries[*index].readings;
}

ReadingTable BuiltInNumberedTable() { return ReadingTable(&kNumberedData); }
ReadingTable BuiltInPlainTable() { return ReadingTable(&kPlainData); }

}  // namespace tolvane
