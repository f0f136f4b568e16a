#include "reading/orthography/OrthographicLine.h"

#include "platform/Cp936.h"
#include "platform/UnicodeText.h"
#include "reading/orthography/LatinPunctuation.h"

namespace tolvane {
namespace {

bool IsSpace(char32_t cp) { return cp == U' ' || cp == U'\t' || cp == U'\u3000'; }

// Latin punctuation in the text itself, where it stands apart from a run of Latin text.
std::optional<LatinMark> AsciiMark(char32_t cp) {
  using Side = LatinMark::Side;
  switch (cp) {
    case U'(':
      return LatinMark{"(", Side::Opening};
    case U'[':
      return LatinMark{"[", Side::Opening};
    case U')':
      return LatinMark{")", Side::Closing};
    case U']':
      return LatinMark{"]", Side::Closing};
    case U',':
      return LatinMark{",", Side::Closing};
    case U';':
      return LatinMark{";", Side::Closing};
    case U':':
      return LatinMark{":", Side::Closing};
    case U'.':
      return LatinMark{".", Side::Closing, true};
    case U'!':
      return LatinMark{"!", Side::Closing, true};
    case U'?':
      return LatinMark{"?", Side::Closing, true};
    default:
      return std::nullopt;
  }
}

// Writes the line's parts with the spaces between them: one between two words or runs of text,
// one after a closing mark where text follows, none inside a pair of opening and closing marks.
class Writer {
 public:
  Writer(TextForm form, std::string& out) : form_(form), out_(out) {}

  // UTF-8 text made here, written in the line's form; false (and nothing written) when a code
  // page 936 line cannot hold one of its characters.
  bool Generated(std::string_view utf8) {
    if (form_ == TextForm::Unicode) {
      out_.append(utf8);
      return true;
    }
    const std::size_t before = out_.size();
    bool whole = true;
    unicode::ForEachCodePoint(utf8, [&](std::string_view, char32_t cp) {
      const cp936::EncodedChar gb = cp936::EncodeChar(cp);
      if (gb.length == 0) whole = false;
      out_.append(gb.view());
    });
    if (!whole) out_.resize(before);
    return whole;
  }
  void Text() {
    if (last_ == Last::Text) out_.push_back(' ');
    last_ = Last::Text;
  }
  void Mark(const LatinMark& mark) {
    if (mark.side == LatinMark::Side::Opening) {
      if (last_ == Last::Text) out_.push_back(' ');
      last_ = Last::Opening;
    } else {
      last_ = Last::Text;
    }
    Generated(mark.text);
  }
  void Raw(std::string_view bytes) { out_.append(bytes); }

 private:
  enum class Last { None, Text, Opening };
  TextForm form_;
  std::string& out_;
  Last last_ = Last::None;
};

}  // namespace

OrthographicLine::OrthographicLine(const ContextResolver& numbered, const ProperNouns& nouns,
                                   ToneStyle style, const ToneVowels& toneVowels, NeutralTone light)
    : numbered_(numbered), nouns_(nouns), light_(light), spelling_(style, toneVowels) {}

void OrthographicLine::ReadWords(std::string_view line, TextForm form) {
  // The words the readings came from are the words written.
  numbered_.ReadLine(line, form, characters_, codePoints_, readings_, &segments_);
  const std::size_t count = codePoints_.size();
  syllables_.assign(count, std::string_view());
  for (std::size_t i = 0; i < count; ++i)
    if (!IsNotFoundReading(readings_[i].display)) syllables_[i] = readings_[i].display;
  // The words may make a syllable light (这个 zhège), changing `syllables_` in place.
  OrthographicWords(codePoints_, syllables_, segments_, nouns_, words_, light_);
}

std::span<const OrthographicWord> OrthographicLine::Words(std::string_view line, TextForm form) {
  ReadWords(line, form);
  return words_;
}

std::string_view OrthographicLine::Spell(std::string_view line, TextForm form, bool sentenceStart) {
  out_.clear();
  parts_.clear();
  ReadWords(line, form);
  // Records the part of characters [begin, end) written since `before`.
  const auto record = [&](WrittenPart::Kind kind, std::size_t begin, std::size_t end,
                          std::size_t before) {
    const bool space = before < out_.size() && out_[before] == ' ';
    parts_.push_back({kind, static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end),
                      static_cast<std::uint32_t>(before + (space ? 1 : 0)),
                      static_cast<std::uint32_t>(out_.size()), space});
  };
  const std::size_t count = codePoints_.size();

  Writer writer(form, out_);
  bool quoteOpen = false;  // a straight quotation mark of the text opens, the next one closes
  std::size_t next = 0;    // the next word
  for (std::size_t i = 0; i < count;) {
    if (next < words_.size() && words_[next].begin == i) {
      const OrthographicWord& word = words_[next++];
      const std::size_t before = out_.size();
      text_.clear();
      for (std::uint32_t k = 0; k < word.length; ++k) {
        const std::string_view syllable = syllables_[i + k];
        if (k > 0 && k == word.hyphenAt) {
          text_.push_back('-');
        } else if (k > 0 && NeedsApostrophe(syllable)) {
          text_.push_back('\'');
        }
        if (IsNumberedSyllable(syllable)) {
          text_.append(spelling_.Spell(syllable));
        } else if (form == TextForm::Cp936) {
          cp936::AppendAsUnicodeText(syllable, text_);  // a user's own reading
        } else {
          text_.append(syllable);
        }
      }
      writer.Text();
      // A capital that code page 936 cannot hold (Ā) is left small.
      if (!((word.capital || sentenceStart) && writer.Generated(Capitalised(text_))) &&
          !writer.Generated(text_))
        writer.Raw("?");
      record(WrittenPart::Kind::Word, i, i + word.length, before);
      sentenceStart = false;
      i += word.length;
      continue;
    }
    const char32_t cp = codePoints_[i];
    if (const auto mark = LatinPunctuation(cp, i > 0 ? codePoints_[i - 1] : 0)) {
      if (!mark->secondHalf && !mark->text.empty()) {
        const std::size_t before = out_.size();
        writer.Mark(*mark);
        record(WrittenPart::Kind::Mark, i, i + 1, before);
      }
      sentenceStart |= mark->endsSentence;
      // A quotation after a colon is a sentence of its own: Tā shuō: "Nǐ hǎo."
      if (mark->side == LatinMark::Side::Opening && i > 0 && codePoints_[i - 1] == U'：')
        sentenceStart = true;
      ++i;
      continue;
    }
    if (IsSpace(cp)) {
      ++i;
      continue;
    }
    if (cp == U'"') {
      const std::size_t before = out_.size();
      writer.Mark(LatinMark{"\"", quoteOpen ? LatinMark::Side::Closing : LatinMark::Side::Opening});
      quoteOpen = !quoteOpen;
      record(WrittenPart::Kind::Mark, i, i + 1, before);
      ++i;
      continue;
    }
    if (const auto mark = AsciiMark(cp)) {
      const std::size_t before = out_.size();
      writer.Mark(*mark);
      record(WrittenPart::Kind::Mark, i, i + 1, before);
      sentenceStart |= mark->endsSentence;
      ++i;
      continue;
    }
    // A run of anything else as it stands: digits, Latin words with their inner punctuation
    // (9.9, e-mail), characters without a reading.
    const std::size_t before = out_.size();
    writer.Text();
    std::size_t end = i;
    while (end < count && !(next < words_.size() && words_[next].begin == end) &&
           !IsSpace(codePoints_[end]) && codePoints_[end] != U'"' &&
           !LatinPunctuation(codePoints_[end], 0)) {
      // Latin punctuation ends the run where no text follows it (the full stop of "OK.").
      if (end > i && AsciiMark(codePoints_[end]) &&
          (end + 1 == count || IsSpace(codePoints_[end + 1]) ||
           (next < words_.size() && words_[next].begin == end + 1) ||
           LatinPunctuation(codePoints_[end + 1], 0)))
        break;
      writer.Raw(characters_[end]);
      ++end;
    }
    record(WrittenPart::Kind::Text, i, end, before);
    sentenceStart = false;
    i = end;
  }
  sentenceStartsAfter_ = sentenceStart;
  return out_;
}

}  // namespace tolvane
