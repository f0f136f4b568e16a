#include "engine/WrapLines.h"

#include "platform/Cp936.h"

namespace tolvane {

void WrapLines(const LineList& source, std::size_t width, TextFileWriter& out) {
  for (std::size_t i = 0; i < source.size(); ++i) {
    const std::string_view line = source[i];
    std::size_t begin = 0;
    while (begin < line.size()) {
      std::size_t end = begin;
      for (std::size_t n = 0; n < width && end < line.size(); ++n)
        end += cp936::CharLengthAt(line, end);
      out.WriteLine(line.substr(begin, end - begin));
      begin = end;
    }
  }
}

}  // namespace tolvane
