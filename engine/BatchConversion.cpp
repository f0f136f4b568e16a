#include "engine/BatchConversion.h"

#include <optional>

#include "engine/AnnotateLine.h"
#include "engine/WrapLines.h"
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

// Step 4: the source re-cut into lines of `width` characters, through temp.txt.
LineList WrapThroughTempFile(const std::filesystem::path& source, std::size_t width,
                             const std::filesystem::path& tempPath) {
  {
    const LineList sourceLines = LineList::FromFile(source);
    TextFileWriter temp(tempPath);
    WrapLines(sourceLines, width, temp);
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

BatchOutcome BatchConversion(const BatchRequest& request, BatchHost& host) {
  const std::filesystem::path& source = request.source;
  const std::filesystem::path& target = request.target;
  const ConversionSettings& settings = request.settings;

  // The target's folder, one level; a failure shows later, when the target cannot be created.
  if (target.has_parent_path()) {
    std::error_code ec;
    std::filesystem::create_directory(target.parent_path(), ec);
  }

  std::error_code existsError;
  if (source.empty() || !std::filesystem::exists(source, existsError)) {
    if (host.Ask(BatchHost::Question::SourceMissing,
                 QuestionTextUtf8(BatchHost::Question::SourceMissing, target)))
      host.ChooseSourceFile();
    return BatchOutcome::SourceMissing;
  }

  LineList lines;
  try {
    lines = settings.wrapWidth > 0
                ? WrapThroughTempFile(source, static_cast<std::size_t>(settings.wrapWidth),
                                      request.programFolder / kTempFileName)
                : LineList::FromFile(source);
  } catch (const Error& error) {
    host.ReportError(error);
    return BatchOutcome::Failed;
  }

  // Writing over the source itself goes through a scratch file that replaces the source only
  // once it is complete, so a failure part-way cannot cost the user the source.
  const bool replacesSource = SameFile(source, target);
  const std::filesystem::path writePath = replacesSource ? ScratchPathBeside(target) : target;
  TextFileWriter writer;
  try {
    writer.Open(writePath);
  } catch (const Error& error) {
    host.ReportError(error);
    return BatchOutcome::Failed;
  }

  host.ShowProgress(lines.size());
  std::optional<Error> failure;
  try {
    Separator separator = kStartSeparator;
    AnnotatedLine out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      host.StepProgress();
      AnnotateLine(lines[i], settings, separator, out);
      for (std::size_t k = 0; k < out.count; ++k) writer.WriteLine(out.lines[k]);
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
