#pragma once

#include <bit>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace tolvane {

// The slot where the probe for `key` starts, in a table of 2^(64 - shift) slots. Fibonacci
// hashing: the top bits of the key times 2^64 / golden ratio pick the slot, so keys that differ
// only in their low bits (neighbouring code points) spread over the table.
inline std::size_t OpenTableHome(unsigned shift, std::uint64_t key) {
  return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> shift);
}

// The slot of `keys` (a power of two of them, at least one free) holding `key`, or the free slot
// where it would go: the probing loop of the tables, which always have a free slot.
template <std::uint64_t kEmpty>
std::size_t OpenTableSlot(std::span<const std::uint64_t> keys, unsigned shift, std::uint64_t key) {
  const std::size_t last = keys.size() - 1;
  std::size_t slot = OpenTableHome(shift, key);
  while (keys[slot] != key && keys[slot] != kEmpty) slot = (slot + 1) & last;
  return slot;
}

// A table's arrays read where they lie, in the table or in a mapped image of one: lookups only.
//
// A view may hold arrays nobody checked (a mapped image is not scanned when it is opened, so that
// only the pages a lookup needs are read): its lookups stop after one pass over the slots, and a
// table with no free slot costs a slow lookup, never an endless one. Well-formed tables end every
// probe at a free slot long before; the count is a compare that always predicts.
template <typename Value, std::uint64_t kEmpty = ~std::uint64_t{0}>
struct OpenTableView {
  std::span<const std::uint64_t> keys;
  std::span<const Value> values;
  unsigned shift = 60;

  const Value* Find(std::uint64_t key) const {
    const std::size_t last = keys.size() - 1;
    std::size_t slot = OpenTableHome(shift, key);
    for (std::size_t probes = 0; probes <= last; ++probes) {
      if (keys[slot] == key) return &values[slot];
      if (keys[slot] == kEmpty) return nullptr;
      slot = (slot + 1) & last;
    }
    return nullptr;
  }
  // Whether lookups stay within the arrays: keys and values in step, a power of two of at least
  // 16 slots with `shift` picking among them. A constant-time check, reading no slot.
  bool WellFormed() const {
    return keys.size() == values.size() && keys.size() >= 16 && std::has_single_bit(keys.size()) &&
           shift == 64 - static_cast<unsigned>(std::countr_zero(keys.size()));
  }
};

// A hash table from 64-bit keys to small values by open addressing with linear probing: the keys
// in one array, the values in another, so that a probe reads only keys and a table of two-byte
// values costs ten bytes a slot. `kEmpty` marks a free slot and is never a key.
//
// The phrase data's tables are built once and then only read, a few million times a second:
// kept at most about three quarters full, a lookup takes a probe or two, in half the memory of a
// half-full table. A table sized for its keys up front never grows; one that is not grows by
// doubling.
template <typename Value, std::uint64_t kEmpty = ~std::uint64_t{0}>
class OpenTable {
 public:
  // An empty table with room for `count` keys.
  explicit OpenTable(std::size_t count = 0) { Allocate(SlotsFor(count)); }

  // The value of `key`, or null when the table lacks it.
  const Value* Find(std::uint64_t key) const {
    const std::size_t slot = SlotOf(key);
    return keys_[slot] == key ? &values_[slot] : nullptr;
  }
  Value* Find(std::uint64_t key) { return const_cast<Value*>(std::as_const(*this).Find(key)); }

  // Adds `key` with `value` unless the table has it already; returns the key's value (the one it
  // had, if any) and whether the key was added.
  std::pair<Value*, bool> Insert(std::uint64_t key, const Value& value) {
    assert(key != kEmpty);
    std::size_t slot = SlotOf(key);
    if (keys_[slot] == key) return {&values_[slot], false};
    if ((count_ + 1) * 4 > keys_.size() * 3) {
      Grow();
      slot = SlotOf(key);
    }
    keys_[slot] = key;
    values_[slot] = value;
    ++count_;
    return {&values_[slot], true};
  }

  OpenTableView<Value, kEmpty> View() const { return {keys_, values_, shift_}; }

  // Number of keys.
  std::size_t size() const { return count_; }
  // Memory the table holds, in bytes.
  std::size_t MemoryBytes() const {
    return keys_.capacity() * sizeof(std::uint64_t) + values_.capacity() * sizeof(Value);
  }

 private:
  // A power of two of at least 16 slots, at most three quarters of them taken by `count` keys.
  static std::size_t SlotsFor(std::size_t count) {
    std::size_t slotCount = 16;
    while (slotCount * 3 < count * 4) slotCount *= 2;
    return slotCount;
  }

  void Allocate(std::size_t slotCount) {
    keys_.assign(slotCount, kEmpty);
    values_.assign(slotCount, Value{});
    shift_ = 64 - static_cast<unsigned>(std::countr_zero(slotCount));
  }

  std::size_t SlotOf(std::uint64_t key) const { return OpenTableSlot<kEmpty>(keys_, shift_, key); }

  // Out of line: tables sized up front never grow, and their inserts stay small enough to inline.
  [[gnu::noinline]] void Grow() {
    std::vector<std::uint64_t> keys = std::move(keys_);
    std::vector<Value> values = std::move(values_);
    Allocate(keys.size() * 2);
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (keys[i] == kEmpty) continue;
      const std::size_t slot = SlotOf(keys[i]);
      keys_[slot] = keys[i];
      values_[slot] = std::move(values[i]);
    }
  }

  std::vector<std::uint64_t> keys_;
  std::vector<Value> values_;
  unsigned shift_ = 60;
  std::size_t count_ = 0;
};

}  // namespace tolvane
