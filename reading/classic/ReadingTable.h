#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tolvane {

// One entry of a built-in table: a GB2312 character (2 bytes) and its ReadingList.
struct ReadingTableEntry {
  std::string_view character;
  std::string_view readings;
};

// A built-in reading table: constant data compiled into the program. A default-constructed
// table is empty: that is what the loaded data holds until its Init operation has run (the
// start-up sequence calls both). Keyed search goes through an index by GB2312 code built at
// compile time, so it costs the same for every character. A small value, copied freely.
class ReadingTable {
 public:
  ReadingTable() = default;

  std::size_t Count() const;
  // The entry at `index` (0 .. Count() - 1) in table order.
  const ReadingTableEntry& At(std::size_t index) const;
  // The index of the entry whose character equals `character` byte for byte, if any.
  std::optional<std::size_t> FindIndex(std::string_view character) const;
  // The ReadingList of `character`, if the table holds it.
  std::optional<std::string_view> Find(std::string_view character) const;

  // Implementation detail of the two tables below.
  struct Data {
    const ReadingTableEntry* entries;
    std::size_t count;
    const std::int16_t* index;  // 94 x 94 GB2312 rows/cells, -1 for no entry
  };
  explicit ReadingTable(const Data* data) : data_(data) {}

 private:
  const Data* data_ = nullptr;
};

// The two tables whole, as compiled in.
ReadingTable BuiltInNumberedTable();
ReadingTable BuiltInPlainTable();

}  // namespace tolvane
