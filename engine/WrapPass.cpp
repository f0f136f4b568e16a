#include "engine/WrapPass.h"

#include "engine/WrapLines.h"

namespace tolvane {
namespace {

const std::filesystem::path& WriteWrapped(SourceReader& source, std::size_t width,
                                          const std::filesystem::path& tempPath) {
  TextFileWriter temp(tempPath);
  WrapSource(source, width, temp);
  temp.Close();
  return tempPath;
}

}  // namespace

void WrapSource(SourceReader& source, std::size_t width, TextFileWriter& out) {
  LineList lines;
  bool continues = false;
  WrapCarry carry;
  while (source.Next(lines, continues))
    WrapLines(lines, width, out, source.form(), continues, carry);
  // A text that ends (at a NUL) right after a piece of its last line.
  if (carry.characters > 0) out.WriteLine({});
}

WrappedSource::WrappedSource(SourceReader& source, std::size_t width,
                             const std::filesystem::path& tempPath, std::size_t chunkBytes)
    : file_(WriteWrapped(source, width, tempPath)), reader_(file_, source.form(), chunkBytes) {}

}  // namespace tolvane
