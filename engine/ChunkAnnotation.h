#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/AnnotateLine.h"
#include "engine/SourceReader.h"
#include "platform/Error.h"
#include "platform/TextEncoding.h"
#include "reading/LineReadingsPool.h"
#include "settings/ConversionSettings.h"

namespace tolvane {

// What a run writes: a head, then each chunk of the source annotated into the target's bytes,
// then a tail. The chunks are annotated apart from each other (on worker threads), which the
// run's separator allows: CarryOver gives each chunk the separator it starts with, and, when it
// begins inside a line too long to be read whole, where on that line it begins.

// One piece of a run: lines that a worker decodes and annotates into the target's bytes.
struct Chunk {
  SourceReader::RawChunk raw;
  SourceReader::DecodedChunk text;
  Separator separator;    // the run's separator before the chunk's first line
  LinePosition position;  // where the chunk's first line goes on from, when it begins mid-line
  std::string output;
  // A line read in pieces whose two-line output ends in this chunk: its first output line ends
  // at output[spoolAt], where its second output line, held back so far, goes.
  std::optional<std::size_t> spoolAt;
  // The second output line's part of the piece of a line the chunk ends inside (aligned
  // layouts), to be held back until that line ends.
  std::string secondHalf;
  std::size_t linesDone = 0;
  // The error that stopped the chunk at line `linesDone`; `output` holds the lines before it.
  std::optional<Error> error;
};

// Makes the readings of `settings` ready before the chunks are annotated, so that missing data
// fails the run before any worker starts. Raises the file errors of the phrase data.
void PrepareReadings(const ReadingData& data, const ConversionSettings& settings);

// Decodes the chunk's raw bytes and annotates its lines into chunk.output, in `target`'s encoding
// (the HTML page: UTF-8), with readings from `pool`. An error stops the chunk and is kept in it.
// Safe on any thread.
void AnnotateChunk(Chunk& chunk, const SourceReader& reader, const ConversionSettings& settings,
                   const TextEncoding& target, LineReadingsPool& pool);

// The run's separator after the chunk `raw`, which started with `before`.
Separator SeparatorAfter(LineReadings& readings, const SourceReader& reader,
                         const SourceReader::RawChunk& raw, const Separator& before,
                         const ConversionSettings& settings);

// The run's separator and line position after the chunk `raw`, which started with them: where a
// chunk ending inside a line leaves the next one. On the thread that produces the chunks.
void CarryOver(LineReadings& readings, const SourceReader& reader,
               const SourceReader::RawChunk& raw, const ConversionSettings& settings,
               Separator& separator, LinePosition& position);

// The target's bytes before the first chunk: the HTML page's head (titled after `source`), else
// the byte-order mark of the target's encoding, if it has one.
std::string TargetHead(const ConversionSettings& settings, TextForm form,
                       const TextEncoding& target, const std::filesystem::path& source);
// The target's bytes after the last chunk: the HTML page's tail, else `trailingBytes` (a UTF-16
// source's odd last byte).
std::string TargetTail(const ConversionSettings& settings, std::string_view trailingBytes);

}  // namespace tolvane
