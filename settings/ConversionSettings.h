#pragma once

namespace tolvane {

// FirstReading and AllReadings read a character alone from the built-in tables; ByContext reads
// it from the words it stands in.
enum class PolyphonePolicy { FirstReading, AllReadings, ByContext };

enum class ToneStyle { Numbered, Marked, Plain };

// How reading by context writes the syllables that speech makes light: Spoken as dictionaries and
// textbooks write them (péngyou, xǐhuan, dōngxi), Citation with every syllable of a word in its
// full tone but for the characters whose own reading is neutral (的, 了, 吗).
enum class NeutralTone { Spoken, Citation };

// The five text layouts, named after the radio buttons that select them, and the HTML page
// (chosen by the target's name or on the command line, never saved as an option).
enum class OutputFormat {
  rb_output_py,
  rb_output_han,
  rb_output_hanpy,
  rb_output_pyhan,
  rb_output_py_only,
  html
};

// The option state that lookup and layout read. The GUI builds one from its controls at the
// moment of a preview or run; the CLI from its options.
struct ConversionSettings {
  PolyphonePolicy polyphone = PolyphonePolicy::FirstReading;
  ToneStyle toneStyle = ToneStyle::Marked;
  bool wadeGiles = false;
  OutputFormat outputFormat = OutputFormat::rb_output_py;
  bool align = true;
  int wrapWidth = 0;  // 0 for none, else 100, 50, 40, 30, 20 or 10 characters
  // Reading by context only; the classic policies read every character alone and ignore them.
  NeutralTone neutralTone = NeutralTone::Spoken;
  bool sandhi = false;  // 一 and 不 with the tones they take before another syllable, as taught
  // The 儿 of an erhua word (一会儿, 哪儿) written as r in a column of its own; with spoken
  // neutral tones only, as citation tones write every syllable as it is read alone.
  bool erhua = true;
  // Pinyin written by words as the national orthography spells it (reading by context only):
  // words joined, sentences and proper nouns capitalised, Latin punctuation. The py-only layout
  // writes it; the others do not take it yet.
  bool orthography = false;

  bool operator==(const ConversionSettings&) const = default;
};

}  // namespace tolvane
