#include "engine/ChunkAnnotation.h"

#include "engine/HtmlPage.h"
#include "platform/EncodedLineWriter.h"

namespace tolvane {
namespace {

// The page's title: the source file's name ("Tolvane" for standard input).
std::string PageTitle(const std::filesystem::path& source) {
  if (source.empty() || source == "-") return "Tolvane";
  const auto name = source.filename().u8string();
  return std::string(name.begin(), name.end());
}

void AnnotateLines(LineReadings& readings, Chunk& chunk, TextForm form,
                   const ConversionSettings& settings, const TextEncoding& target) {
  const LineList& lines = chunk.text.lines;
  if (settings.outputFormat == OutputFormat::html) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      HtmlPage::AppendLine(readings, lines[i], form, settings, chunk.output);
      ++chunk.linesDone;
    }
    return;
  }
  // Room for the usual output at once: text layouts write about three times what they read.
  chunk.output.reserve(lines.bytes().size() * 13 / 4 + 64);
  EncodedLineWriter writer(chunk.output, form, target);
  Separator separator = chunk.separator;
  AnnotatedLine out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    AnnotateLine(readings, lines[i], form, settings, separator, out);
    for (std::size_t k = 0; k < out.count; ++k) writer.WriteLine(out.lines[k]);
    ++chunk.linesDone;
  }
}

}  // namespace

void PrepareReadings(const ReadingData& data, const ConversionSettings& settings) {
  if (settings.polyphone == PolyphonePolicy::ByContext) data.ContextData();
}

void AnnotateChunk(Chunk& chunk, const SourceReader& reader, const ConversionSettings& settings,
                   const TextEncoding& target, LineReadingsPool& pool) {
  try {
    reader.Decode(chunk.raw, chunk.text);
    chunk.raw.bytes = std::string();
    const LineReadingsPool::Lease readings = pool.Borrow();
    AnnotateLines(*readings, chunk, reader.form(), settings, target);
  } catch (const Error& error) {
    chunk.error = error;
  }
}

// The two aligned layouts leave " " after a line whose last character has a reading and "" after
// one whose last character has none; an empty line leaves it as it was. So a chunk's starting
// separator follows from the last line before it that is not empty.
Separator SeparatorAfter(LineReadings& readings, const SourceReader& reader,
                         const SourceReader::RawChunk& raw, const Separator& before,
                         const ConversionSettings& settings) {
  if (settings.outputFormat != OutputFormat::rb_output_py &&
      settings.outputFormat != OutputFormat::rb_output_han)
    return before;
  const std::string line = reader.LastNonEmptyLine(raw);
  if (line.empty()) return before;
  try {
    const auto last = ReadingsOfLine(readings, line, reader.form(), settings);
    return IsNotFoundReading(last.back()) ? Separator() : Separator(" ");
  } catch (const Error&) {
    return before;  // the run fails at this line or before it anyway
  }
}

std::string TargetHead(const ConversionSettings& settings, TextForm form,
                       const TextEncoding& target, const std::filesystem::path& source) {
  if (settings.outputFormat == OutputFormat::html) return HtmlPage::Head(PageTitle(source));
  std::string head;
  EncodedLineWriter(head, form, target).Start();
  return head;
}

std::string TargetTail(const ConversionSettings& settings, std::string_view trailingBytes) {
  if (settings.outputFormat == OutputFormat::html) return HtmlPage::Tail();
  return std::string(trailingBytes);
}

}  // namespace tolvane
