#include "documents/ProofreadingSource.h"

#include "engine/SourceReader.h"
#include "platform/Cp936.h"
#include "platform/UnicodeText.h"

namespace tolvane {

std::string SourceTextUtf8(const std::filesystem::path& source, EncodingChoice choice) {
  const SourceLines lines = ReadSourceLines(source, choice);
  std::string text;
  for (std::size_t i = 0; i < lines.lines.size(); ++i) {
    if (i > 0) text += '\n';
    const std::string_view line = lines.lines[i];
    if (lines.form == TextForm::Cp936) {
      text += cp936::DecodeToUtf8(line);
      continue;
    }
    unicode::ForEachCodePoint(line, [&](std::string_view character, char32_t cp) {
      if (unicode::IsRawByte(cp) || cp == unicode::kReplacement) {
        unicode::AppendCodePoint(text, unicode::kReplacement);
      } else {
        text.append(character);
      }
    });
  }
  return text;
}

}  // namespace tolvane
