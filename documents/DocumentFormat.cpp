#include "documents/DocumentFormat.h"

#include <array>
#include <string>
#include <utility>

namespace tolvane {
namespace {

constexpr std::array<std::pair<DocumentFormat, std::string_view>, 5> kNames{{
    {DocumentFormat::Docx, "docx"},
    {DocumentFormat::Odt, "odt"},
    {DocumentFormat::Epub, "epub"},
    {DocumentFormat::Srt, "srt"},
    {DocumentFormat::Vtt, "vtt"},
}};

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

}  // namespace

std::optional<DocumentFormat> DocumentFormatNamed(std::string_view name) {
  const std::string lower = Lower(name);
  for (const auto& [format, each] : kNames)
    if (each == lower) return format;
  return std::nullopt;
}

std::optional<DocumentFormat> DocumentFormatOfTarget(const std::filesystem::path& target) {
  const std::string extension = target.extension().string();
  if (extension.size() < 2) return std::nullopt;
  return DocumentFormatNamed(std::string_view(extension).substr(1));
}

std::string_view ExtensionOf(DocumentFormat format) {
  switch (format) {
    case DocumentFormat::Docx:
      return ".docx";
    case DocumentFormat::Odt:
      return ".odt";
    case DocumentFormat::Epub:
      return ".epub";
    case DocumentFormat::Srt:
      return ".srt";
    case DocumentFormat::Vtt:
      return ".vtt";
  }
  return {};
}

bool IsSubtitleFormat(DocumentFormat format) {
  return format == DocumentFormat::Srt || format == DocumentFormat::Vtt;
}

}  // namespace tolvane
