#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tolvane {

// The second output line of an aligned layout while its source line is still being read in
// pieces: it can only follow the first output line, which goes out piece by piece. Held in
// memory up to `memoryBytes`, then in an unlinked temporary file, so that a line of any length
// costs bounded memory.
class LineSpool {
 public:
  static constexpr std::size_t kMemoryBytes = 4 << 20;

  explicit LineSpool(std::size_t memoryBytes = kMemoryBytes) : memoryBytes_(memoryBytes) {}
  LineSpool(const LineSpool&) = delete;
  LineSpool& operator=(const LineSpool&) = delete;

  // Raises the file error of a temporary file that cannot be made or written.
  void Append(std::string_view bytes);
  // Hands everything appended, in order and in blocks, to `write`, and empties the spool.
  void Drain(const std::function<void(std::string_view)>& write);
  bool InFile() const { return file_ != nullptr; }

 private:
  struct Close {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  void Spill();

  std::size_t memoryBytes_;
  std::string memory_;
  std::unique_ptr<std::FILE, Close> file_;
};

}  // namespace tolvane
