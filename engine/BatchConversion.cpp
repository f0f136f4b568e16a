#include "engine/BatchConversion.h"

#include <cctype>
#include <cstring>
#include <optional>
#include <sstream>

#include "engine/AnnotateLine.h"
#include "engine/HtmlPage.h"
#include "engine/WrapLines.h"
#include "platform/Cp936.h"
#include "platform/EncodedLineWriter.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"

namespace tolvane {
namespace {

constexpr const char* kTempFileName = "temp.txt";

std::string PathUtf8(const std::filesystem::path& path) {
  const auto text = path.u8string();
  return std::string(text.begin(), text.end());
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

// The source, read and decoded: its lines in the form they are annotated in.
struct SourceText {
  SourceEncoding encoding;
  LineList lines;
  std::string trailingBytes;
  std::optional<std::size_t> firstUndecodable;
};

SourceText ReadSourceText(ByteBuffer bytes, EncodingChoice choice) {
  SourceText source;
  source.encoding = ChooseEncoding(bytes.view(), choice, &source.firstUndecodable);
  const Encoding encoding = source.encoding.encoding.encoding;
  if (FormOf(encoding) == TextForm::Cp936) {
    // The designed path: the bytes are the text, which ends at a NUL; bytes after it are no
    // part of it and need no warning.
    if (source.firstUndecodable && *source.firstUndecodable > bytes.view().find('\0'))
      source.firstUndecodable.reset();
    source.lines = LineList(std::move(bytes));
    return source;
  }
  source.firstUndecodable.reset();
  const std::size_t mark = source.encoding.byteOrderMarkLength;
  DecodedText decoded = DecodeText(bytes.view().substr(mark), encoding, mark);
  bytes = ByteBuffer();
  source.lines = LineList(decoded.text);
  source.trailingBytes = std::move(decoded.trailingBytes);
  source.firstUndecodable = decoded.firstUndecodable;
  return source;
}

// Step 4: the source lines re-cut into lines of `width` characters, through temp.txt, which
// holds them in the form they are annotated in.
LineList WrapThroughTempFile(const LineList& sourceLines, TextForm form, std::size_t width,
                             const std::filesystem::path& tempPath) {
  {
    TextFileWriter temp(tempPath);
    WrapLines(sourceLines, width, temp, form);
    temp.Close();
  }
  return LineList::FromFile(tempPath);
}

}  // namespace

std::string QuestionTextUtf8(BatchHost::Question question, const std::filesystem::path& target) {
  switch (question) {
    case BatchHost::Question::SourceMissing:
      return "没找到源文件,选择文件？";
    case BatchHost::Question::OpenCompleted:
      return "执行完成，是否打开文件\r\r" + PathUtf8(target);
  }
  return {};
}

std::filesystem::path DeriveTargetPath(const std::filesystem::path& source) {
  static const std::string kSuffix = "_拼音";
  const std::string text = PathUtf8(source);
  const std::size_t nameStart = text.find_last_of(
      std::string("/") + static_cast<char>(std::filesystem::path::preferred_separator));
  const std::size_t nameBegin = nameStart == std::string::npos ? 0 : nameStart + 1;
  const std::size_t dot = text.rfind('.');
  std::string result = text;
  if (dot != std::string::npos && dot >= nameBegin) {
    result.insert(dot, kSuffix);
  } else {
    result += kSuffix;
  }
  return std::filesystem::path(std::u8string(result.begin(), result.end()));
}

namespace {

// The page's title: the source file's name ("Tolvane" for standard input).
std::string PageTitle(const std::filesystem::path& source) {
  if (source.empty() || source == "-") return "Tolvane";
  return PathUtf8(source.filename());
}

// The HTML page, UTF-8 whatever the source; the bar steps once per line as for text.
void WriteHtmlPage(const LineList& lines, TextForm form, const ConversionSettings& settings,
                   const std::string& titleUtf8, TextFileWriter& writer, BatchHost& host) {
  writer.Write(HtmlPage::Head(titleUtf8));
  std::string block;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    host.StepProgress();
    block.clear();
    HtmlPage::AppendLine(lines[i], form, settings, block);
    writer.Write(block);
  }
  writer.Write(HtmlPage::Tail());
}

}  // namespace

SourceLines ReadSourceLines(const std::filesystem::path& source, EncodingChoice choice,
                            int wrapWidth) {
  SourceText text = ReadSourceText(ReadFileBytes(source), choice);
  SourceLines out{LineList(), FormOf(text.encoding.encoding.encoding)};
  if (wrapWidth <= 0) {
    out.lines = std::move(text.lines);
    return out;
  }
  std::ostringstream cut;
  TextFileWriter writer;
  writer.Attach(cut, source);
  WrapLines(text.lines, static_cast<std::size_t>(wrapWidth), writer, out.form);
  writer.Close();
  out.lines = LineList(cut.str());
  return out;
}

bool IsHtmlTarget(const std::filesystem::path& target) {
  std::string extension = target.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".html" || extension == ".htm";
}

std::optional<TextEncoding> EncodingOfFile(const std::filesystem::path& path,
                                           EncodingChoice choice) {
  try {
    const ByteBuffer bytes = ReadFileBytes(path);
    return ChooseEncoding(bytes.view(), choice).encoding;
  } catch (const Error&) {
    return std::nullopt;
  }
}

BatchOutcome BatchConversion(const BatchRequest& request, BatchHost& host) {
  const std::filesystem::path& source = request.source;
  const std::filesystem::path& target = request.target;
  const ConversionSettings& settings = request.settings;

  // The target's folder, one level; a failure shows later, when the target cannot be created.
  if (request.targetStream == nullptr && target.has_parent_path()) {
    std::error_code ec;
    std::filesystem::create_directory(target.parent_path(), ec);
  }

  std::error_code existsError;
  if (request.sourceBytes == nullptr &&
      (source.empty() || !std::filesystem::exists(source, existsError))) {
    if (host.Ask(BatchHost::Question::SourceMissing,
                 QuestionTextUtf8(BatchHost::Question::SourceMissing, target)))
      host.ChooseSourceFile();
    return BatchOutcome::SourceMissing;
  }

  SourceText text;
  LineList lines;
  try {
    text = ReadSourceText(request.sourceBytes != nullptr ? ByteBuffer::Copy(*request.sourceBytes)
                                                         : ReadFileBytes(source),
                          request.sourceEncoding);
    if (settings.wrapWidth > 0) {
      lines = WrapThroughTempFile(text.lines, FormOf(text.encoding.encoding.encoding),
                                  static_cast<std::size_t>(settings.wrapWidth),
                                  request.programFolder / kTempFileName);
      text.lines.clear();
    } else {
      lines = std::move(text.lines);
    }
  } catch (const Error& error) {
    host.ReportError(error);
    return BatchOutcome::Failed;
  }
  const TextEncoding sourceEncoding = text.encoding.encoding;
  const TextForm form = FormOf(sourceEncoding.encoding);
  if (text.firstUndecodable)
    host.NoteUndecodableBytes(source, sourceEncoding, *text.firstUndecodable);

  // Writing over the source itself goes through a scratch file that replaces the source only
  // once it is complete, so a failure part-way cannot cost the user the source.
  const bool toStream = request.targetStream != nullptr;
  const bool replacesSource =
      !toStream && request.sourceBytes == nullptr && SameFile(source, target);
  const std::filesystem::path writePath = replacesSource ? ScratchPathBeside(target) : target;
  TextFileWriter writer;
  try {
    if (toStream) {
      writer.Attach(*request.targetStream, target);
    } else {
      writer.Open(writePath);
    }
  } catch (const Error& error) {
    host.ReportError(error);
    return BatchOutcome::Failed;
  }

  host.ShowProgress(lines.size());
  std::optional<Error> failure;
  try {
    if (settings.outputFormat == OutputFormat::html) {
      WriteHtmlPage(lines, form, settings, PageTitle(source), writer, host);
    } else {
      EncodedLineWriter lineWriter(writer, form,
                                   OutputEncodingFor(sourceEncoding, request.targetEncoding));
      lineWriter.Start();
      Separator separator = kStartSeparator;
      AnnotatedLine out;
      for (std::size_t i = 0; i < lines.size(); ++i) {
        host.StepProgress();
        AnnotateLine(lines[i], form, settings, separator, out);
        for (std::size_t k = 0; k < out.count; ++k) lineWriter.WriteLine(out.lines[k]);
      }
      lineWriter.WriteRaw(text.trailingBytes);
    }
    writer.Close();
    if (replacesSource) {
      std::error_code ec;
      std::filesystem::rename(writePath, target, ec);
      if (ec) throw FileError(ec.value(), target);
    }
  } catch (const Error& error) {
    failure = error;
  }

  if (failure) {
    // The target keeps the lines written so far; a failed run is reported as such, without the
    // completion question.
    try {
      writer.Close();
    } catch (const Error&) {
    }
    if (replacesSource) {
      std::error_code ec;
      std::filesystem::remove(writePath, ec);
    }
    host.FillProgress();
    host.HideProgress();
    host.ReportError(*failure);
    return BatchOutcome::Failed;
  }

  host.FillProgress();
  lines.clear();
  if (host.Ask(BatchHost::Question::OpenCompleted,
               QuestionTextUtf8(BatchHost::Question::OpenCompleted, target)))
    host.OpenWithSystem(target);
  host.HideProgress();
  return BatchOutcome::Completed;
}

}  // namespace tolvane
