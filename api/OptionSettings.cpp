#include "api/OptionSettings.h"

#include <string>

#include "platform/Error.h"

namespace tolvane {
namespace {

PolyphonePolicy PolicyOf(Policy policy) {
  switch (policy) {
    case Policy::First:
      return PolyphonePolicy::FirstReading;
    case Policy::All:
      return PolyphonePolicy::AllReadings;
    case Policy::Context:
      break;
  }
  return PolyphonePolicy::ByContext;
}

ToneStyle ToneStyleOf(Tone tone) {
  switch (tone) {
    case Tone::Numbered:
      return ToneStyle::Numbered;
    case Tone::Plain:
      return ToneStyle::Plain;
    case Tone::Marked:
      break;
  }
  return ToneStyle::Marked;
}

OutputFormat FormatOf(Layout layout) {
  switch (layout) {
    case Layout::Han:
      return OutputFormat::rb_output_han;
    case Layout::HanPy:
      return OutputFormat::rb_output_hanpy;
    case Layout::PyHan:
      return OutputFormat::rb_output_pyhan;
    case Layout::PyOnly:
      return OutputFormat::rb_output_py_only;
    case Layout::Html:
      return OutputFormat::html;
    case Layout::Py:
      break;
  }
  return OutputFormat::rb_output_py;
}

}  // namespace

ConversionSettings SettingsOf(const Options& options) {
  if (options.orthography && options.policy != Policy::Context)
    throw Error("The orthography reads by context: it cannot go with the first or all readings");
  if (options.wrapWidth < 0)
    throw Error("The wrap width cannot be negative: " + std::to_string(options.wrapWidth));
  ConversionSettings settings;
  settings.polyphone = PolicyOf(options.policy);
  settings.toneStyle = ToneStyleOf(options.tone);
  settings.neutralTone =
      options.neutralTones == NeutralTones::Citation ? NeutralTone::Citation : NeutralTone::Spoken;
  settings.sandhi = options.sandhi;
  settings.erhua = options.erhua;
  settings.orthography = options.orthography;
  settings.wadeGiles = options.wadeGiles;
  settings.outputFormat = FormatOf(options.layout);
  settings.align = options.align;
  settings.wrapWidth = options.wrapWidth;
  return settings;
}

}  // namespace tolvane
