#include "engine/RubyLine.h"

#include "engine/SourceReader.h"
#include "platform/Cp936.h"
#include "platform/UnicodeText.h"
#include "reading/LineReadings.h"

namespace tolvane {
namespace {

std::string Utf8Of(std::string_view text, TextForm form) {
  if (form == TextForm::Cp936) return cp936::DecodeToUtf8(text);
  std::string out;
  out.reserve(text.size());
  unicode::ForEachCodePoint(text, [&](std::string_view character, char32_t cp) {
    if (unicode::IsRawByte(cp) || cp == unicode::kReplacement) {
      unicode::AppendCodePoint(out, unicode::kReplacement);
    } else {
      out.append(character);
    }
  });
  return out;
}

}  // namespace

RubyLine RubyLineOf(LineReadings& readings, std::string_view line, TextForm form,
                    const ConversionSettings& settings) {
  RubyLine out;
  const auto add = [&](std::string_view character, char32_t, const PositionReading& reading) {
    out.push_back({Utf8Of(character, form), IsNotFoundReading(reading.display)
                                                ? std::string()
                                                : Utf8Of(reading.display, form)});
  };
  if (form == TextForm::Cp936) {
    readings.ForEachReadingOfLine<TextForm::Cp936>(line, settings, add);
  } else {
    readings.ForEachReadingOfLine<TextForm::Unicode>(line, settings, add);
  }
  return out;
}

std::vector<RubyLine> ReadRubyDocument(LineReadings& readings, const std::filesystem::path& source,
                                       const ConversionSettings& settings, EncodingChoice choice) {
  const SourceLines lines =
      ReadSourceLines(source, choice, settings.wrapWidth, WrapRuleFor(settings));
  std::vector<RubyLine> document;
  document.reserve(lines.lines.size());
  for (std::size_t i = 0; i < lines.lines.size(); ++i)
    document.push_back(RubyLineOf(readings, lines.lines[i], lines.form, settings));
  return document;
}

}  // namespace tolvane
