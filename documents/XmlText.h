#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// Appends UTF-8 text to XML (DOCX, ODT, EPUB's XHTML) with &, <, >, " and ' escaped, and every
// character XML 1.0 cannot hold (the C0 controls but tab, line feed and carriage return; U+FFFE
// and U+FFFF) left out: a stray control character in a source must not make the whole document
// unreadable.
void AppendXmlText(std::string_view textUtf8, std::string& out);
std::string XmlText(std::string_view textUtf8);

}  // namespace tolvane
