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
    Reserve(piece.size());
    char* out = data_.get() + size_;
    if (piece.size() <= 16) {
      for (std::size_t i = 0; i < piece.size(); ++i) out[i] = piece[i];
    } else {
      std::memcpy(out, piece.data(), piece.size());
    }
    size_ += piece.size();
  }
  void Push(char c) {
    Reserve(1);
    data_[size_++] = c;
  }
  void AppendSpaces(std::size_t n) {
    Reserve(n);
    char* out = data_.get() + size_;
    if (n <= 16) {
      for (std::size_t i = 0; i < n; ++i) out[i] = ' ';
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
