#pragma once

#include <iosfwd>

#include "engine/SourceReader.h"

namespace tolvane {

// How messages name standard input, in errors as in warnings.
inline constexpr const char* kStandardInputName = "standard input";

// Standard input as the bytes of a source, read through the program's input stream. A failed
// read raises the file error with the system's reason, which the stream itself does not keep,
// naming standard input, so that it is not taken for standard output, which "-" names as well.
class StandardInputBytes : public ByteSource {
 public:
  explicit StandardInputBytes(std::istream& in) : in_(in) {}
  std::size_t Read(char* data, std::size_t size) override;

 private:
  std::istream& in_;
};

}  // namespace tolvane
