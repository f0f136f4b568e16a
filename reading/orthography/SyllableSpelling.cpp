#include "reading/orthography/SyllableSpelling.h"

#include <array>
#include <utility>

#include "platform/Cp936.h"
#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

// The marked vowels a syllable can begin with, and their capitals.
constexpr std::array<std::pair<char32_t, char32_t>, 12> kMarkedCapitals{{
    {U'ā', U'Ā'},
    {U'á', U'Á'},
    {U'ǎ', U'Ǎ'},
    {U'à', U'À'},
    {U'ē', U'Ē'},
    {U'é', U'É'},
    {U'ě', U'Ě'},
    {U'è', U'È'},
    {U'ō', U'Ō'},
    {U'ó', U'Ó'},
    {U'ǒ', U'Ǒ'},
    {U'ò', U'Ò'},
}};

std::string WithUmlaut(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == 'v') {
      out += "ü";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace

bool IsNumberedSyllable(std::string_view reading) {
  if (reading.size() < 2 || reading.back() < '1' || reading.back() > '5') return false;
  for (std::size_t i = 0; i + 1 < reading.size(); ++i)
    if (reading[i] < 'a' || reading[i] > 'z') return false;
  return true;
}

bool NeedsApostrophe(std::string_view numberedSyllable) {
  return !numberedSyllable.empty() &&
         (numberedSyllable[0] == 'a' || numberedSyllable[0] == 'o' || numberedSyllable[0] == 'e');
}

std::string Capitalised(std::string_view text) {
  if (text.empty()) return std::string();
  if (text[0] >= 'a' && text[0] <= 'z') {
    std::string out(text);
    out[0] = static_cast<char>(out[0] - 'a' + 'A');
    return out;
  }
  const std::size_t length = unicode::CharLengthAt(text, 0);
  const char32_t cp = unicode::CodePointAt(text, 0, length);
  for (const auto& [small, capital] : kMarkedCapitals) {
    if (cp != small) continue;
    std::string out;
    unicode::AppendCodePoint(out, capital);
    out.append(text.substr(length));
    return out;
  }
  return std::string(text);
}

const std::string& SyllableSpelling::Spell(std::string_view numberedSyllable) {
  const auto found = spelled_.find(std::string(numberedSyllable));
  if (found != spelled_.end()) return found->second;
  std::string spelled;
  const std::string_view toneless = numberedSyllable.substr(0, numberedSyllable.size() - 1);
  if (style_ == ToneStyle::Numbered) {
    spelled = std::string(numberedSyllable);
  } else if (toneless == "r") {
    spelled = "r";
  } else if (style_ == ToneStyle::Plain) {
    spelled = WithUmlaut(toneless);
  } else {
    cp936::AppendAsUnicodeText(MarkReading(numberedSyllable, toneVowels_), spelled);
  }
  return spelled_.emplace(std::string(numberedSyllable), std::move(spelled)).first->second;
}

}  // namespace tolvane
