#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "engine/HtmlPage.h"
#include "engine/RunObserver.h"
#include "platform/EncodingDetection.h"
#include "platform/TextEncoding.h"
#include "reading/ReadingData.h"
#include "settings/ConversionSettings.h"

namespace tolvane {

class ByteSource;

// A part of a source file converted apart from the rest, so that the targets of a file's parts,
// put together in order, are the target of the whole file: bytes [begin, end) of the source,
// `begin` at a line start, read in the whole file's encoding; the target's head (the byte-order
// mark, the HTML page's head) goes with the first part, its tail (the page's tail, a UTF-16
// file's odd last byte) with the last, and each part starts with the run's separator as the
// lines before it leave it (SeparatorAfter).
struct SourcePart {
  std::uint64_t begin = 0;
  std::uint64_t end = 0;
  // As detected at the file's start; byteOrderMarkLength counts the mark's bytes in this part
  // (0 past the first).
  SourceEncoding encoding;
  bool head = true;
  bool tail = true;
  std::string separator = " ";
};

struct BatchRequest {
  std::filesystem::path source;
  std::filesystem::path target;
  ConversionSettings settings;
  // The loaded data the run reads, whatever the session loads meanwhile.
  std::shared_ptr<const ReadingData> data;
  std::filesystem::path programFolder;  // where temp.txt goes when lines are re-cut
  EncodingChoice sourceEncoding = EncodingChoice::Auto;
  OutputEncodingChoice targetEncoding = OutputEncodingChoice::Same;
  // Standard input and output: the source's bytes, read beforehand, instead of the source file,
  // and a stream instead of the target file. `source` and `target` then only name them.
  const std::string* sourceBytes = nullptr;
  std::istream* sourceStream = nullptr;
  std::ostream* targetStream = nullptr;
  // Or a source of bytes that the front end reads itself, so that its errors name the source
  // as the front end names it (standard input).
  ByteSource* sourceByteSource = nullptr;
  // The HTML page's title, style sheet and colophon (a page design's); the defaults are the
  // page's own. Other formats ignore it.
  HtmlPageLook htmlPage{};
  // Threads that annotate: 0 for one per core, 1 for the calling thread alone.
  unsigned jobs = 0;
  // Bytes of source per chunk of the run (0: the usual); tests make them small.
  std::size_t chunkBytes = 0;
  // A part of the source file instead of the whole (no wrap width: re-cut lines depend on the
  // lines before them).
  std::optional<SourcePart> part{};
};

// The conversion of a whole file, the one way every front end runs one: the source read in chunks
// of lines (re-cut through a scratch file that then becomes temp.txt when the settings ask for a
// wrap width), the chunks annotated on worker threads and written to the target in order. A
// target file, the source itself among them, is written beside it and replaces it only once the
// run is complete (RunTarget): whole or not at all. The target's folder is made, one level,
// just before that.
//
// The run asks nothing: it reports its progress, undecodable bytes and how it ended to
// `observer`, and returns the outcome it reported. Errors are not thrown: a run that fails ends
// Failed with the error, after it has closed what it opened and removed its scratch files; the
// target file is then as it was before the run (a stream keeps what was written), and a folder
// the run made for it is gone again when empty. A source file that does not exist ends
// SourceMissing, before anything is read or written.
//
// Any number of runs may go at once, in one process or several, with the same temp.txt and even
// the same target: each writes only files of its own until it renames them into place.
RunOutcome BatchConversion(const BatchRequest& request, RunObserver& observer);

}  // namespace tolvane
