#include "engine/WrapPass.h"

#include "engine/WrapLines.h"
#include "platform/Error.h"

namespace tolvane {

void WrapSource(SourceReader& source, std::size_t width, TextFileWriter& out, WrapRule rule,
                const WrittenWords& words) {
  LineList lines;
  bool continues = false;
  WrapCarry carry;
  // A line longer than a chunk comes in pieces, each segmented into words alone (WrapLines).
  while (source.Next(lines, continues))
    WrapLines(lines, width, out, source.form(), continues, carry, rule, words);
  // A text that ends (at a NUL) right after a piece of its last line.
  FinishWrap(width, out, carry);
}

WrittenWords WrittenWordsFrom(LineReadings& readings, const ConversionSettings& settings) {
  return [&readings, settings](std::string_view line, TextForm form) {
    return readings.Orthography(settings).Words(line, form);
  };
}

WrappedSource::WrappedSource(SourceReader& source, std::size_t width, WrapRule rule,
                             const std::filesystem::path& tempPath, std::size_t chunkBytes,
                             const WrittenWords& words) {
  scratch_.Create(tempPath, false);
  try {
    TextFileWriter temp(scratch_.path());
    WrapSource(source, width, temp, rule, words);
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
