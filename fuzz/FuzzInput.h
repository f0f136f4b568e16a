#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tolvane::fuzz {

// Takes typed values off the front of a fuzz input; what is left is the text under test.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }
  // Up to `max` bytes, the count taken from the input.
  std::string Bytes(std::size_t max) {
    // The count's byte is taken first: the size left is what follows it.
    const std::size_t wanted = Byte() % (max + 1);
    const std::size_t n = std::min<std::size_t>(wanted, rest_.size());
    std::string out(rest_.substr(0, n));
    rest_.remove_prefix(n);
    return out;
  }
  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// Stops the fuzzer with a message when a property does not hold.
#define FUZZ_CHECK(condition)                                                                \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (0)

}  // namespace tolvane::fuzz
