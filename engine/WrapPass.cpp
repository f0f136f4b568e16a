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
  while (source.Next(lines)) WrapLines(lines, width, out, source.form());
}

WrappedSource::WrappedSource(SourceReader& source, std::size_t width,
                             const std::filesystem::path& tempPath, std::size_t chunkBytes)
    : file_(WriteWrapped(source, width, tempPath)), reader_(file_, source.form(), chunkBytes) {}

}  // namespace tolvane
