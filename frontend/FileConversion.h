#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>

#include "documents/DocumentFormat.h"
#include "engine/BatchConversion.h"
#include "engine/RunObserver.h"
#include "platform/TextEncoding.h"
#include "reading/ReadingData.h"
#include "settings/ConversionSettings.h"

// The conversion of one file as the front ends ask for it: what it writes (a text layout, the
// HTML page, a document, subtitles cue by cue), where, and the run that writes it. tolvane-cli's
// convert and the library's Converter both come here, so that a file converted either way is the
// same file.
namespace tolvane {

// Whether `source` exists but is no regular file or folder: a device, a pipe or a socket.
bool IsStreamingSource(const std::filesystem::path& source);

struct FileConversionRequest {
  std::filesystem::path source;  // or "-" with `sourceByteSource`
  std::filesystem::path target;  // empty: derived from the source; or "-" with `targetStream`
  ConversionSettings settings;
  // Whether the layout was asked for (--format). When it was, it is written whatever the
  // target's name and the source hold; when not, a target named .html or .htm asks for the page,
  // one named .docx, .odt, .epub, .srt or .vtt for that document, and an SRT or WebVTT source is
  // annotated cue by cue in its own format.
  bool layoutAsked = false;
  // The document asked for, with `layoutAsked`; none for a text layout or the page.
  std::optional<DocumentFormat> document;
  EncodingChoice sourceEncoding = EncodingChoice::Auto;
  OutputEncodingChoice targetEncoding = OutputEncodingChoice::Same;
  // A page design file for the page and the documents; empty: their own look, and the page
  // credits the data it was read with.
  std::filesystem::path design;
  unsigned jobs = 0;  // threads that annotate: 0 for one per core
  // A part of the source file alone (the library's ConvertFilePart); a text run only.
  std::optional<SourcePart> part;
  // Standard input and output, read and written by the front end.
  ByteSource* sourceByteSource = nullptr;
  std::ostream* targetStream = nullptr;
  // The loaded data, asked for once the target is decided and the page design is read (a
  // document reads the design first), so that their errors come in the order they always have.
  std::function<std::shared_ptr<const ReadingData>()> loadData;
  // The folder temp.txt goes to when lines are re-cut, asked for after the data only then.
  std::function<std::filesystem::path()> scratchFolder;
};

// What a request comes to: a document (subtitles among them), or a text run in the layout of
// `settings` (the page for a target named so); and the target it writes.
struct FileConversionChoice {
  std::optional<DocumentFormat> document;
  ConversionSettings settings;
  std::filesystem::path target;
};

// Decides what `request` writes and where, reading nothing but the start of an SRT or WebVTT
// source (an unreadable source is left for the run to report).
FileConversionChoice ChooseFileConversion(const FileConversionRequest& request);

// What a conversion did: how the run ended (a document's failure is raised instead) and the
// target it wrote.
struct FileConversionResult {
  RunOutcome outcome;
  std::filesystem::path target;
};

// Converts the file as ChooseFileConversion decides: a text run through BatchConversion,
// reporting to `observer` and returning its outcome; a document or subtitles written whole,
// raising Error on failure ("File not found" for a missing source).
FileConversionResult ConvertFileAsAsked(const FileConversionRequest& request,
                                        RunObserver& observer);

}  // namespace tolvane
