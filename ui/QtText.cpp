#include "ui/QtText.h"

#include <QFile>

#include "platform/Cp936.h"
#include "platform/TextCodec.h"
#include "platform/UnicodeText.h"

namespace tolvane {

QString QStringFromGb(std::string_view textGb) {
  return QString::fromStdU16String(cp936::DecodeToUtf16(textGb));
}

std::string GbFromQString(const QString& text) {
  return cp936::EncodeFromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                    static_cast<std::size_t>(text.size())));
}

std::size_t GbByteLength(const QString& text) {
  std::size_t bytes = 0;
  for (const char32_t cp : text.toUcs4()) {
    const cp936::EncodedChar gb = cp936::EncodeChar(cp);
    if (gb.length > 0) {
      bytes += gb.length;
    } else {
      std::string character;
      unicode::AppendCodePoint(character, cp);
      bytes += EncodeText(character, Encoding::Gb18030).size();
    }
  }
  return bytes;
}

std::filesystem::path PathFromQString(const QString& path) {
#ifdef _WIN32
  return std::filesystem::path(path.toStdWString());
#else
  // File names are bytes here; Qt's file-name encoding gives back the bytes a dialog listed.
  const QByteArray bytes = QFile::encodeName(path);
  return std::filesystem::path(
      std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
#endif
}

QString QStringFromPath(const std::filesystem::path& path) {
#ifdef _WIN32
  return QString::fromStdWString(path.wstring());
#else
  return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

QString QStringFromErrorText(const char* text) { return QString::fromLocal8Bit(text); }

}  // namespace tolvane
