#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>

// The PDF tools of poppler-utils (pdfinfo, pdffonts, pdftotext), which read a PDF as a reader's
// program would. A machine without them skips the tests that need them.
namespace tolvane::test {

// The standard output of `tool` run on `args`; nothing when the tool is not installed or failed.
inline std::optional<QString> RunPdfTool(const char* tool, const QStringList& args) {
  const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
  if (program.isEmpty()) return std::nullopt;
  QProcess process;
  process.start(program, args);
  if (!process.waitForFinished(120000) || process.exitCode() != 0) return std::nullopt;
  return QString::fromUtf8(process.readAllStandardOutput());
}

inline bool HasPdfTools() {
  for (const char* tool : {"pdfinfo", "pdffonts", "pdftotext"})
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) return false;
  return true;
}

inline QString PdfArg(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

// The page size pdfinfo reports, in points: "Page size: 595.276 x 841.89 pts (A4)".
inline std::optional<std::pair<double, double>> PdfPageSize(const std::filesystem::path& pdf) {
  const auto info = RunPdfTool("pdfinfo", {PdfArg(pdf)});
  if (!info) return std::nullopt;
  for (const QString& line : info->split(QLatin1Char('\n'))) {
    if (!line.startsWith(QStringLiteral("Page size:"))) continue;
    const QStringList words = line.simplified().split(QLatin1Char(' '));
    if (words.size() >= 5) return std::pair{words[2].toDouble(), words[4].toDouble()};
  }
  return std::nullopt;
}

// The words of every page with their boxes in points (pdftotext -bbox).
struct PdfWord {
  QString text;
  double xMin, yMin, xMax, yMax;
};
inline std::vector<PdfWord> PdfWords(const std::filesystem::path& pdf) {
  std::vector<PdfWord> words;
  const auto html =
      RunPdfTool("pdftotext", {QStringLiteral("-bbox"), PdfArg(pdf), QStringLiteral("-")});
  if (!html) return words;
  for (const QString& line : html->split(QLatin1Char('\n'))) {
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(QStringLiteral("<word "))) continue;
    const auto value = [&](const char* key) {
      const QString marker = QString::fromLatin1(key) + QStringLiteral("=\"");
      const qsizetype at = trimmed.indexOf(marker) + marker.size();
      return trimmed.mid(at, trimmed.indexOf(QLatin1Char('"'), at) - at).toDouble();
    };
    const qsizetype open = trimmed.indexOf(QLatin1Char('>')) + 1;
    const QString text = trimmed.mid(open, trimmed.lastIndexOf(QStringLiteral("</word>")) - open);
    words.push_back({text, value("xMin"), value("yMin"), value("xMax"), value("yMax")});
  }
  return words;
}

}  // namespace tolvane::test
