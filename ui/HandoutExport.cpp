#include "ui/HandoutExport.h"

#include <QFile>
#include <QPdfWriter>
#include <algorithm>
#include <array>
#include <cctype>

#include "documents/DocxDocument.h"
#include "documents/EpubDocument.h"
#include "documents/HandoutHtml.h"
#include "documents/OdtDocument.h"
#include "platform/Error.h"
#include "ui/QtText.h"
#include "ui/RubyPageLayout.h"

namespace tolvane {
namespace {

constexpr int kPdfResolution = 300;

constexpr std::array<const char*, 1> kPdfExtensions{".pdf"};
constexpr std::array<const char*, 2> kHtmlExtensions{".html", ".htm"};
constexpr std::array<const char*, 1> kDocxExtensions{".docx"};
constexpr std::array<const char*, 1> kOdtExtensions{".odt"};
constexpr std::array<const char*, 1> kEpubExtensions{".epub"};

constexpr std::array<HandoutFormat, 5> kFormats{{
    {"PDF", kPdfExtensions, &WritePdf},
    {"Word (DOCX)", kDocxExtensions, &WriteDocx},
    {"LibreOffice (ODT)", kOdtExtensions, &WriteOdt},
    {"EPUB", kEpubExtensions, &WriteEpub},
    {"HTML", kHtmlExtensions, &WriteHandoutHtml},
}};

std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

std::span<const HandoutFormat> HandoutFormats() { return kFormats; }

const HandoutFormat& HandoutFormatOf(const std::filesystem::path& target) {
  const std::string extension = LowerCase(target.extension().string());
  for (const HandoutFormat& format : kFormats)
    for (const char* each : format.extensions)
      if (extension == each) return format;
  return kFormats.front();
}

QString HandoutFilter() {
  QStringList filters;
  for (const HandoutFormat& format : kFormats) {
    QStringList patterns;
    for (const char* each : format.extensions)
      patterns << QStringLiteral("*") + QLatin1String(each);
    filters << QString::fromUtf8(format.filterName) + QStringLiteral(" (") +
                   patterns.join(QLatin1Char(' ')) + QStringLiteral(")");
  }
  return filters.join(QStringLiteral(";;"));
}

void WriteHandout(const Handout& handout, const PageDesign& design,
                  const std::filesystem::path& target) {
  HandoutFormatOf(target).write(handout, design, target);
}

void WritePdf(const Handout& handout, const PageDesign& design,
              const std::filesystem::path& target) {
  WriteCountedPdf(handout, design, target);
}

int WriteCountedPdf(const Handout& handout, const PageDesign& design,
                    const std::filesystem::path& target) {
  const QString fileName = QStringFromPath(target);
  // The PDF writer says nothing of a file it cannot create: try it first, for the reason.
  {
    QFile probe(fileName);
    if (!probe.open(QIODevice::WriteOnly)) throw Error(probe.errorString().toStdString(), target);
  }
  QPdfWriter writer(fileName);
  writer.setResolution(kPdfResolution);
  writer.setTitle(QString::fromStdString(DocumentTitle(handout)));
  writer.setCreator(QStringLiteral("Tolvane"));
  return RubyPageLayout::Print(writer, handout, design);
}

}  // namespace tolvane
