#pragma once

#include <cstddef>
#include <filesystem>

#include "engine/SourceReader.h"
#include "platform/TextFile.h"

namespace tolvane {

// Every line still to come from `source`, re-cut into pieces of `width` characters (WrapLines),
// written to `out` in the form the source is held in.
void WrapSource(SourceReader& source, std::size_t width, TextFileWriter& out);

// The wrap pre-pass of a run: the source's lines re-cut into temp.txt, which the run then reads
// in place of the source. Through a file rather than memory, so that a source of any size is
// re-cut in the memory of a few chunks.
class WrappedSource {
 public:
  // Reads the whole of `source` into `tempPath`; raises the file errors of either.
  WrappedSource(SourceReader& source, std::size_t width, const std::filesystem::path& tempPath,
                std::size_t chunkBytes = SourceReader::kChunkBytes);

  // The re-cut lines, in chunks, already in the source's form.
  SourceReader& reader() { return reader_; }

 private:
  FileByteSource file_;
  SourceReader reader_;
};

}  // namespace tolvane
