#include "engine/WrapPass.h"

#include "engine/WrapLines.h"
#include "platform/Error.h"

namespace tolvane {

void WrapSource(SourceReader& source, std::size_t width, TextFileWriter& out, WrapRule rule) {
  LineList lines;
  bool continues = false;
  WrapCarry carry;
  while (source.Next(lines, continues))
    WrapLines(lines, width, out, source.form(), continues, carry, rule);
  // A text that ends (at a NUL) right after a piece of its last line.
  FinishWrap(width, out, carry);
}

WrappedSource::WrappedSource(SourceReader& source, std::size_t width, WrapRule rule,
                             const std::filesystem::path& tempPath, std::size_t chunkBytes) {
  scratch_.Create(tempPath, false);
  try {
    TextFileWriter temp(scratch_.path());
    WrapSource(source, width, temp, rule);
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
