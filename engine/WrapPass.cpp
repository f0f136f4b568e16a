#include "engine/WrapPass.h"

#include "engine/WrapLines.h"

namespace tolvane {

void WrapSource(SourceReader& source, std::size_t width, TextFileWriter& out) {
  LineList lines;
  while (source.Next(lines)) WrapLines(lines, width, out, source.form());
}

}  // namespace tolvane
