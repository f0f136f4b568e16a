#pragma once

#include <array>
#include <cstddef>
#include <iosfwd>
#include <streambuf>

namespace tolvane {

// Standard output as the command line writes it: a buffer over a file descriptor that keeps the
// reason of its first failed write, which the library's own stream buffers forget. After a
// failure it writes nothing more, so the reason stays the first one.
class DescriptorOutputBuffer : public std::streambuf {
 public:
  explicit DescriptorOutputBuffer(int descriptor);
  // Writes what is left, saying nothing of a failure: FinishStandardOutput reports it.
  ~DescriptorOutputBuffer() override;
  DescriptorOutputBuffer(const DescriptorOutputBuffer&) = delete;
  DescriptorOutputBuffer& operator=(const DescriptorOutputBuffer&) = delete;

  // The errno value of the first write that failed; 0 while none has.
  int failure() const { return failure_; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* data, std::streamsize size) override;
  int sync() override;

 private:
  bool Drain();
  bool WriteAll(const char* data, std::size_t size);

  int descriptor_;
  int failure_ = 0;
  std::array<char, 1 << 16> buffer_;
};

// The exit status of a command once its output on `out` (over `buffer`) is flushed. A command
// that succeeded but whose output did not all get written fails: "standard output: " and the
// reason are printed on `err` and the status is 1. A command that failed already has said why.
int FinishStandardOutput(std::ostream& out, const DescriptorOutputBuffer& buffer, int status,
                         std::ostream& err);

}  // namespace tolvane
