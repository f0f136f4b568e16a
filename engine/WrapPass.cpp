#include "engine/WrapPass.h"

#include "engine/WrapLines.h"
#include "platform/Error.h"

namespace tolvane {

void WrapSource(SourceReader& source, std::size_t width, TextFileWriter& out) {
  LineList lines;
  while (source.Next(lines)) WrapLines(lines, width, out, source.form());
}

WrappedSource::WrappedSource(SourceReader& source, std::size_t width,
                             const std::filesystem::path& tempPath, std::size_t chunkBytes) {
  scratch_.Create(tempPath, false);
  try {
    TextFileWriter temp(scratch_.path());
    WrapSource(source, width, temp);
    temp.Close();
    file_ = std::make_unique<FileByteSource>(scratch_.path());
  } catch (const Error& error) {
    // A failed read of the source names the source; the scratch file stands for temp.txt.
    throw error.path() == scratch_.path() ? Error(error.what(), tempPath) : error;
  }
  RemoveStaleScratch(tempPath);
  scratch_.RenameTo(tempPath);
  reader_.emplace(*file_, source.form(), chunkBytes);
}

}  // namespace tolvane
