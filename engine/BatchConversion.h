#pragma once

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <string>

#include "engine/RunObserver.h"
#include "platform/EncodingDetection.h"
#include "platform/TextEncoding.h"
#include "reading/ReadingData.h"
#include "settings/ConversionSettings.h"

namespace tolvane {

class ByteSource;

struct BatchRequest {
  std::filesystem::path source;
  std::filesystem::path target;
  ConversionSettings settings;
  // The loaded data the run reads, whatever the session loads meanwhile.
  std::shared_ptr<const ReadingData> data;
  std::filesystem::path programFolder;  // where temp.txt is written when lines are re-cut
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
  // Threads that annotate: 0 for one per core, 1 for the calling thread alone.
  unsigned jobs = 0;
  // Bytes of source per chunk of the run (0: the usual); tests make them small.
  std::size_t chunkBytes = 0;
};

// The conversion of a whole file, the one way every front end runs one: the source read in chunks
// of lines (re-cut through temp.txt first when the settings ask for a wrap width), the chunks
// annotated on worker threads and written to the target in order. A target that is the source
// itself is replaced only once the run is complete. The target's folder is made, one level,
// first of all.
//
// The run asks nothing: it reports its progress, undecodable bytes and how it ended to
// `observer`, and returns the outcome it reported. Errors are not thrown: a run that fails ends
// Failed with the error, after it has closed what it opened; a target written in place keeps
// the lines written before the failure. A source file that does not exist ends SourceMissing,
// before anything is read or written.
RunOutcome BatchConversion(const BatchRequest& request, RunObserver& observer);

}  // namespace tolvane
