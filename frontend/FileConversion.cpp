#include "frontend/FileConversion.h"

#include <system_error>

#include "documents/DocumentStyle.h"
#include "documents/Handout.h"
#include "documents/HandoutDocument.h"
#include "documents/PageDesign.h"
#include "documents/Subtitles.h"
#include "engine/BatchConversion.h"
#include "frontend/TargetNaming.h"
#include "platform/Error.h"

namespace tolvane {
namespace {

constexpr const char* kStandardStream = "-";

// The document the layout asks for, or the target's extension; else an SRT or WebVTT source is
// converted cue by cue into its own format, unless a text layout was asked for.
std::optional<DocumentFormat> DocumentOf(const FileConversionRequest& request) {
  if (request.layoutAsked) return request.document;
  const std::filesystem::path& target = request.target;
  if (!target.empty() && target != kStandardStream) {
    if (const std::optional<DocumentFormat> format = DocumentFormatOfTarget(target)) return format;
  }
  const std::filesystem::path& source = request.source;
  if (source == kStandardStream || IsStreamingSource(source)) return std::nullopt;
  std::optional<SubtitleFormat> subtitles;
  try {
    subtitles = DetectSubtitleFile(source, request.sourceEncoding);
  } catch (const Error&) {
    return std::nullopt;  // the run reports why the source cannot be read
  }
  if (!subtitles) return std::nullopt;
  return *subtitles == SubtitleFormat::Srt ? DocumentFormat::Srt : DocumentFormat::Vtt;
}

PageDesign DesignOf(const FileConversionRequest& request) {
  return request.design.empty() ? PageDesign() : ReadPageDesign(request.design);
}

void WriteDocument(const FileConversionRequest& request, const FileConversionChoice& choice) {
  const PageDesign design = DesignOf(request);
  LineReadings readings(request.loadData());
  std::error_code error;
  if (!std::filesystem::exists(request.source, error))
    throw Error("File not found", request.source);
  const DocumentFormat format = *choice.document;
  if (IsSubtitleFormat(format)) {
    const SubtitleFormat asked =
        format == DocumentFormat::Srt ? SubtitleFormat::Srt : SubtitleFormat::Vtt;
    const std::optional<SubtitleFormat> held =
        DetectSubtitleFile(request.source, request.sourceEncoding);
    if (held && *held != asked)
      throw Error(request.source.string() + " holds " +
                      (*held == SubtitleFormat::Srt ? "SRT" : "WebVTT") +
                      " subtitles: they are annotated in their own format",
                  request.source);
    SubtitleOptions subtitleOptions;
    subtitleOptions.encoding = request.sourceEncoding;
    ConvertSubtitles(readings, request.source, choice.target, request.settings, subtitleOptions);
  } else {
    WriteHandoutDocument(
        format,
        ReadHandout(readings, request.source, request.settings, design, request.sourceEncoding),
        design, choice.target);
  }
}

RunOutcome RunText(const FileConversionRequest& request, const FileConversionChoice& choice,
                   RunObserver& observer) {
  const std::shared_ptr<const ReadingData> data = request.loadData();
  const std::filesystem::path scratch =
      request.scratchFolder ? request.scratchFolder() : std::filesystem::path();
  BatchRequest run{request.source, choice.target, choice.settings, data, scratch};
  run.sourceEncoding = request.sourceEncoding;
  run.targetEncoding = request.targetEncoding;
  run.jobs = request.jobs;
  // The page credits the data it was read with; a design gives it its look as well.
  if (request.design.empty()) {
    run.htmlPage.colophon = ColophonMarkup();
  } else {
    run.htmlPage = HtmlPageLookOf(DesignOf(request));
  }
  run.part = request.part;
  run.sourceByteSource = request.sourceByteSource;
  run.targetStream = request.targetStream;
  return BatchConversion(run, observer);
}

}  // namespace

bool IsStreamingSource(const std::filesystem::path& source) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(source, ec);
  return !ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
         !std::filesystem::is_directory(status);
}

FileConversionChoice ChooseFileConversion(const FileConversionRequest& request) {
  FileConversionChoice choice;
  choice.document = DocumentOf(request);
  choice.settings = request.settings;
  if (choice.document) {
    choice.target =
        request.target.empty()
            ? DeriveTargetPath(request.source).replace_extension(ExtensionOf(*choice.document))
            : request.target;
    return choice;
  }
  // A target named .html or .htm asks for the page unless the layout was asked for.
  if (!request.layoutAsked && IsHtmlTarget(request.target))
    choice.settings.outputFormat = OutputFormat::html;
  choice.target = request.target;
  if (choice.target.empty()) {
    choice.target = DeriveTargetPath(request.source);
    if (choice.settings.outputFormat == OutputFormat::html)
      choice.target.replace_extension(".html");
  }
  return choice;
}

FileConversionResult ConvertFileAsAsked(const FileConversionRequest& request,
                                        RunObserver& observer) {
  const FileConversionChoice choice = ChooseFileConversion(request);
  if (choice.document) {
    WriteDocument(request, choice);
    return {{RunStatus::Completed, std::nullopt, true}, choice.target};
  }
  return {RunText(request, choice, observer), choice.target};
}

}  // namespace tolvane
