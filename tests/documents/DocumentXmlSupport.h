#pragma once

#include <regex>
#include <string>
#include <vector>

// Reading back the XML the document writers write. Regular expressions are enough here because
// the writers' output is checked to be well-formed XML by an XML parser in
// documents_in_libreoffice_test.py; these only find the parts a test asks about.
namespace tolvane::test {

// The first capture of every match of `pattern` in `xml`, in order (all captures when the
// pattern has several, one after another).
inline std::vector<std::string> Captures(const std::string& xml, const std::string& pattern) {
  const std::regex expression(pattern);
  std::vector<std::string> out;
  for (auto it = std::sregex_iterator(xml.begin(), xml.end(), expression);
       it != std::sregex_iterator(); ++it)
    for (std::size_t group = 1; group < it->size(); ++group) out.push_back((*it)[group].str());
  return out;
}

// XML text with its five entities replaced by the characters they stand for.
inline std::string Unescaped(const std::string& xml) {
  static const std::pair<std::string, std::string> kEntities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  std::string out;
  for (std::size_t pos = 0; pos < xml.size();) {
    bool replaced = false;
    for (const auto& [entity, character] : kEntities) {
      if (xml.compare(pos, entity.size(), entity) == 0) {
        out += character;
        pos += entity.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += xml[pos++];
  }
  return out;
}

// `text` without the thin spaces (U+2009) that pad a reading on each side.
inline std::string WithoutPadding(const std::string& text) {
  std::string out = text;
  for (std::size_t pos; (pos = out.find("\u2009")) != std::string::npos;) out.erase(pos, 3);
  return out;
}

// "text:reading" of each ruby, joined by spaces, as the tests' tables write them.
inline std::string Joined(const std::vector<std::string>& pairs) {
  std::string out;
  for (const std::string& pair : pairs) out += (out.empty() ? "" : " ") + pair;
  return out;
}

}  // namespace tolvane::test
