#include "engine/ChunkAnnotation.h"

#include <algorithm>

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

// A chunk's lines; its first goes on from the chunk before when it begins mid-line, and its last
// goes on in the chunk after when it ends mid-line (then only the line's end is written, or, for
// the two-line layouts, the second output line's part is held back in chunk.secondHalf until
// then). A chunk that begins mid-line holds at least the rest of that line, if only its end.
void AnnotateLines(LineReadings& readings, Chunk& chunk, TextForm form,
                   const ConversionSettings& settings, const TextEncoding& target) {
  const LineList& lines = chunk.text.lines;
  const bool beginsMidLine = chunk.raw.beginsMidLine;
  const bool endsMidLine = chunk.raw.endsMidLine;
  const std::size_t count = std::max<std::size_t>(lines.size(), beginsMidLine ? 1 : 0);
  const auto lineAt = [&](std::size_t i) {
    return i < lines.size() ? lines[i] : std::string_view();
  };
  if (settings.outputFormat == OutputFormat::html) {
    for (std::size_t i = 0; i < count; ++i) {
      const bool continues = endsMidLine && i + 1 == count;
      HtmlPage::AppendPiece(readings, lineAt(i), form, settings, !(beginsMidLine && i == 0),
                            !continues, chunk.output);
      if (!continues) ++chunk.linesDone;
    }
    return;
  }
  // Room for the usual output at once: text layouts write about three times what they read.
  chunk.output.reserve(lines.bytes().size() * 13 / 4 + 64);
  EncodedLineWriter writer(chunk.output, form, target);
  EncodedLineWriter held(chunk.secondHalf, form, target);
  Separator separator = chunk.separator;
  AnnotatedLine out;
  for (std::size_t i = 0; i < count; ++i) {
    const bool continued = beginsMidLine && i == 0;
    const bool continues = endsMidLine && i + 1 == count;
    LinePosition position = continued ? chunk.position : LinePosition();
    AnnotatePiece(readings, lineAt(i), form, settings, separator, position, out);
    writer.WritePiece(out.lines[0]);
    if (out.count == 2 && continues) {
      held.WritePiece(out.lines[1]);
    } else if (!continues) {
      writer.EndLine();
      if (out.count == 2) {
        if (continued) chunk.spoolAt = chunk.output.size();
        writer.WriteLine(out.lines[1]);
      }
    }
    if (!continues) ++chunk.linesDone;
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

void CarryOver(LineReadings& readings, const SourceReader& reader,
               const SourceReader::RawChunk& raw, const ConversionSettings& settings,
               Separator& separator, LinePosition& position) {
  if (!raw.endsMidLine) {
    separator = SeparatorAfter(readings, reader, raw, separator, settings);
    position = LinePosition();
    return;
  }
  position.lineStart = false;
  if (!PiecesCarryPosition(settings)) return;
  // Where the line stands at the chunk's end (the aligned layouts' columns), which the next
  // chunk's first piece goes on from.
  SourceReader::DecodedChunk decoded;
  reader.Decode(raw, decoded);
  const LineList& lines = decoded.lines;
  if (lines.empty()) return;
  const std::size_t last = lines.size() - 1;
  try {
    if (last > 0 || !raw.beginsMidLine) {
      position = LinePosition();
      for (std::size_t i = last; i-- > 0;) {
        if (lines[i].empty()) continue;
        const auto readingsOfLine = ReadingsOfLine(readings, lines[i], reader.form(), settings);
        separator = IsNotFoundReading(readingsOfLine.back()) ? Separator() : Separator(" ");
        break;
      }
    }
    SkipPiece(readings, lines[last], reader.form(), settings, separator, position);
  } catch (const Error&) {
    // The run fails at this line or before it anyway.
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
