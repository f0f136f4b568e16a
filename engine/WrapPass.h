#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>

#include "engine/SourceReader.h"
#include "engine/WrapLines.h"
#include "platform/ScratchFile.h"
#include "platform/TextFile.h"
#include "reading/LineReadings.h"
#include "settings/ConversionSettings.h"

namespace tolvane {

// Every line still to come from `source`, re-cut into pieces of `width` characters by `rule`
// (WrapLines, with each line's written `words` under KeepWrittenWords), written to `out` in the
// form the source is held in.
void WrapSource(SourceReader& source, std::size_t width, TextFileWriter& out,
                WrapRule rule = WrapRule::EveryWidth, const WrittenWords& words = {});

// The written words of lines as `settings` write them in pinyin (OrthographicLine::Words), read
// by context through `readings`, which must outlive them.
WrittenWords WrittenWordsFrom(LineReadings& readings, const ConversionSettings& settings);

// The wrap pre-pass of a run: the source's lines re-cut into a scratch file of the run's own
// beside temp.txt, which the run then reads in place of the source. Through a file rather than
// memory, so that a source of any size is re-cut in the memory of a few chunks.
//
// Once the whole source is re-cut (a source that is temp.txt itself is read to its end by then),
// the scratch file is renamed to temp.txt, which users may look at: temp.txt is always one run's
// whole text, however many runs re-cut at the same time. The run goes on reading the file it has
// open. A pre-pass that fails leaves temp.txt as it was and no scratch file behind.
class WrappedSource {
 public:
  // Reads the whole of `source`; raises the file errors of either, naming `tempPath` for the
  // scratch file.
  WrappedSource(SourceReader& source, std::size_t width, WrapRule rule,
                const std::filesystem::path& tempPath,
                std::size_t chunkBytes = SourceReader::kChunkBytes, const WrittenWords& words = {});

  // The re-cut lines, in chunks, already in the source's form.
  SourceReader& reader() { return *reader_; }

 private:
  ScratchFile scratch_;
  std::unique_ptr<FileByteSource> file_;
  std::optional<SourceReader> reader_;
};

}  // namespace tolvane
