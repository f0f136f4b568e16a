#include <gtest/gtest.h>

#include "api/OptionSettings.h"
#include "tolvane/Error.h"

namespace tolvane {
namespace {

// Every option lands in the setting tolvane-cli's flag of the same name sets.
TEST(OptionSettings, EachOptionSetsItsSetting) {
  Options options;
  const ConversionSettings defaults = SettingsOf(options);
  EXPECT_EQ(defaults.polyphone, PolyphonePolicy::ByContext);
  EXPECT_EQ(defaults.toneStyle, ToneStyle::Marked);
  EXPECT_EQ(defaults.neutralTone, NeutralTone::Spoken);
  EXPECT_FALSE(defaults.sandhi);
  EXPECT_TRUE(defaults.erhua);
  EXPECT_FALSE(defaults.orthography);
  EXPECT_FALSE(defaults.wadeGiles);
  EXPECT_EQ(defaults.outputFormat, OutputFormat::rb_output_py);
  EXPECT_TRUE(defaults.align);
  EXPECT_EQ(defaults.wrapWidth, 0);

  const struct {
    void (*change)(Options&);
    void (*expect)(const ConversionSettings&);
  } cases[] = {
      {[](Options& o) { o.policy = Policy::First; },
       [](const ConversionSettings& s) { EXPECT_EQ(s.polyphone, PolyphonePolicy::FirstReading); }},
      {[](Options& o) { o.policy = Policy::All; },
       [](const ConversionSettings& s) { EXPECT_EQ(s.polyphone, PolyphonePolicy::AllReadings); }},
      {[](Options& o) { o.tone = Tone::Numbered; },
       [](const ConversionSettings& s) { EXPECT_EQ(s.toneStyle, ToneStyle::Numbered); }},
      {[](Options& o) { o.tone = Tone::Plain; },
       [](const ConversionSettings& s) { EXPECT_EQ(s.toneStyle, ToneStyle::Plain); }},
      {[](Options& o) { o.neutralTones = NeutralTones::Citation; },
       [](const ConversionSettings& s) { EXPECT_EQ(s.neutralTone, NeutralTone::Citation); }},
      {[](Options& o) { o.sandhi = true; },
       [](const ConversionSettings& s) { EXPECT_TRUE(s.sandhi); }},
      {[](Options& o) { o.erhua = false; },
       [](const ConversionSettings& s) { EXPECT_FALSE(s.erhua); }},
      {[](Options& o) { o.orthography = true; },
       [](const ConversionSettings& s) { EXPECT_TRUE(s.orthography); }},
      {[](Options& o) { o.wadeGiles = true; },
       [](const ConversionSettings& s) { EXPECT_TRUE(s.wadeGiles); }},
      {[](Options& o) { o.layout = Layout::Han; },
       [](const ConversionSettings& s) { EXPECT_EQ(s.outputFormat, OutputFormat::rb_output_han); }},
      {[](Options& o) { o.layout = Layout::HanPy; },
       [](const ConversionSettings& s) {
         EXPECT_EQ(s.outputFormat, OutputFormat::rb_output_hanpy);
       }},
      {[](Options& o) { o.layout = Layout::PyHan; },
       [](const ConversionSettings& s) {
         EXPECT_EQ(s.outputFormat, OutputFormat::rb_output_pyhan);
       }},
      {[](Options& o) { o.layout = Layout::PyOnly; },
       [](const ConversionSettings& s) {
         EXPECT_EQ(s.outputFormat, OutputFormat::rb_output_py_only);
       }},
      {[](Options& o) { o.layout = Layout::Html; },
       [](const ConversionSettings& s) { EXPECT_EQ(s.outputFormat, OutputFormat::html); }},
      {[](Options& o) { o.align = false; },
       [](const ConversionSettings& s) { EXPECT_FALSE(s.align); }},
      {[](Options& o) { o.wrapWidth = 20; },
       [](const ConversionSettings& s) { EXPECT_EQ(s.wrapWidth, 20); }},
  };
  for (const auto& each : cases) {
    Options changed;
    each.change(changed);
    const ConversionSettings settings = SettingsOf(changed);
    each.expect(settings);
  }
}

TEST(OptionSettings, OptionsThatCannotGoTogetherAreErrors) {
  for (const Policy policy : {Policy::First, Policy::All}) {
    Options options;
    options.policy = policy;
    options.orthography = true;
    EXPECT_THROW(SettingsOf(options), Error);
  }
  Options options;
  options.wrapWidth = -1;
  EXPECT_THROW(SettingsOf(options), Error);
}

}  // namespace
}  // namespace tolvane
