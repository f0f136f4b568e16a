#include "documents/XmlText.h"

#include "platform/UnicodeText.h"

namespace tolvane {

void AppendXmlText(std::string_view textUtf8, std::string& out) {
  std::size_t pos = 0;
  while (pos < textUtf8.size()) {
    const std::size_t length = unicode::CharLengthAt(textUtf8, pos);
    const char32_t cp = unicode::CodePointAt(textUtf8, pos, length);
    switch (cp) {
      case U'&':
        out += "&amp;";
        break;
      case U'<':
        out += "&lt;";
        break;
      case U'>':
        out += "&gt;";
        break;
      case U'"':
        out += "&quot;";
        break;
      case U'\'':
        out += "&apos;";
        break;
      default:
        if ((cp < 0x20 && cp != U'\t' && cp != U'\n' && cp != U'\r') || cp == 0xFFFE ||
            cp == 0xFFFF)
          break;
        out.append(textUtf8.substr(pos, length));
    }
    pos += length;
  }
}

std::string XmlText(std::string_view textUtf8) {
  std::string out;
  out.reserve(textUtf8.size());
  AppendXmlText(textUtf8, out);
  return out;
}

}  // namespace tolvane
