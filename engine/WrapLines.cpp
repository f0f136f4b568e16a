#include "engine/WrapLines.h"

#include "platform/Cp936.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

template <typename CharLengthAt>
void WrapLinesBy(const LineList& source, std::size_t width, TextFileWriter& out,
                 CharLengthAt&& charLengthAt) {
  for (std::size_t i = 0; i < source.size(); ++i) {
    const std::string_view line = source[i];
    std::size_t begin = 0;
    while (begin < line.size()) {
      std::size_t end = begin;
      for (std::size_t n = 0; n < width && end < line.size(); ++n) end += charLengthAt(line, end);
      out.WriteLine(line.substr(begin, end - begin));
      begin = end;
    }
  }
}

}  // namespace

void WrapLines(const LineList& source, std::size_t width, TextFileWriter& out, TextForm form) {
  if (form == TextForm::Cp936) {
    WrapLinesBy(source, width, out, cp936::CharLengthAt);
  } else {
    WrapLinesBy(source, width, out, unicode::CharLengthAt);
  }
}

}  // namespace tolvane
