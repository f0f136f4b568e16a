#include "engine/WrapLines.h"

#include "platform/Cp936.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

template <typename CharLengthAt>
void WrapLinesBy(const LineList& source, std::size_t width, TextFileWriter& out,
                 bool lastLineContinues, WrapCarry& carry, CharLengthAt&& charLengthAt) {
  for (std::size_t i = 0; i < source.size(); ++i) {
    const std::string_view line = source[i];
    const bool continues = lastLineContinues && i + 1 == source.size();
    std::size_t begin = 0;
    while (begin < line.size()) {
      std::size_t end = begin;
      std::size_t n = carry.characters;
      for (; n < width && end < line.size(); ++n) end += charLengthAt(line, end);
      const std::string_view piece = line.substr(begin, end - begin);
      if (n < width && continues) {
        out.Write(piece);
        carry.characters = n;
      } else {
        out.WriteLine(piece);
        carry.characters = 0;
      }
      begin = end;
    }
    // The last piece of a long line may hold nothing but its line end.
    if (!continues && carry.characters > 0) {
      out.WriteLine({});
      carry.characters = 0;
    }
  }
}

}  // namespace

void WrapLines(const LineList& source, std::size_t width, TextFileWriter& out, TextForm form,
               bool lastLineContinues, WrapCarry& carry) {
  if (form == TextForm::Cp936) {
    WrapLinesBy(source, width, out, lastLineContinues, carry, cp936::CharLengthAt);
  } else {
    WrapLinesBy(source, width, out, lastLineContinues, carry, unicode::CharLengthAt);
  }
}

void WrapLines(const LineList& source, std::size_t width, TextFileWriter& out, TextForm form) {
  WrapCarry carry;
  WrapLines(source, width, out, form, false, carry);
}

}  // namespace tolvane
