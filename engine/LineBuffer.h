#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace tolvane {

// An output line under construction. Annotation appends a few bytes at a time (a reading, a
// separator, a character), millions of times in a large file; this buffer keeps its memory from
// line to line and copies short pieces inline instead of calling the library's memcpy for each.
class LineBuffer {
 public:
  void clear() {
    size_ = 0;
    begin_ = 0;
  }
  std::size_t size() const { return size_ - begin_; }
  std::string_view view() const { return {data_.get() + begin_, size_ - begin_}; }

  void Append(std::string_view piece) {
    const std::size_t n = piece.size();
    Reserve(n);
    char* out = data_.get() + size_;
    const char* in = piece.data();
    // Readings and characters are a few bytes long: two overlapping fixed-size copies cover any
    // length of a size class without a loop (a loop here becomes a library call per piece).
    if (n >= 8 && n <= 16) {
      std::memcpy(out, in, 8);
      std::memcpy(out + n - 8, in + n - 8, 8);
    } else if (n >= 4 && n < 8) {
      std::memcpy(out, in, 4);
      std::memcpy(out + n - 4, in + n - 4, 4);
    } else if (n >= 2 && n < 4) {
      std::memcpy(out, in, 2);
      std::memcpy(out + n - 2, in + n - 2, 2);
    } else if (n == 1) {
      out[0] = in[0];
    } else if (n > 16) {
      std::memcpy(out, in, n);
    }
    size_ += n;
  }
  void Push(char c) {
    Reserve(1);
    data_[size_++] = c;
  }
  void AppendSpaces(std::size_t n) {
    // Sixteen bytes of room beyond the spaces, so a short run is one fixed-size store.
    Reserve(n + kSpaces.size());
    char* out = data_.get() + size_;
    if (n <= kSpaces.size()) {
      std::memcpy(out, kSpaces.data(), kSpaces.size());
    } else {
      std::memset(out, ' ', n);
    }
    size_ += n;
  }
  // Drops the first byte, if there is one.
  void DropFirstByte() {
    if (begin_ < size_) ++begin_;
  }

 private:
  static constexpr std::string_view kSpaces = "                ";  // sixteen

  void Reserve(std::size_t extra) {
    if (size_ + extra <= capacity_) return;
    std::size_t capacity = capacity_ < 256 ? 256 : capacity_ * 2;
    while (capacity < size_ + extra) capacity *= 2;
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ > 0) std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
  }

  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t begin_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace tolvane
