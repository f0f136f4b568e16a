#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "engine/LineBreaks.h"
#include "platform/TextEncoding.h"
#include "platform/TextFile.h"
#include "reading/orthography/WordUnits.h"
#include "settings/ConversionSettings.h"

namespace tolvane {

// How the wrap pass cuts a line. EveryWidth (the classic policies): every `width` characters,
// wherever that falls, an empty line giving no piece. KeepWords (reading by context): as many
// characters as fit in `width`, the line ending only where Chinese typesetting lets it
// (BreakContext: never inside a run of letters or digits, never before closing punctuation or
// after opening punctuation), so a line is longer than `width` only when a run of letters or
// digits longer than `width` fills it, or a closing mark after a full line holds on to the
// character before it; an empty line stays. KeepWrittenWords (written pinyin): KeepWords, and
// never inside one of the line's written words either, since the pinyin of a word is written in
// one piece; a word longer than `width` runs over the width like a long number, as the source's
// characters cannot take a hyphen.
enum class WrapRule { EveryWidth, KeepWords, KeepWrittenWords };

WrapRule WrapRuleFor(const ConversionSettings& settings);

// The written words of a line for KeepWrittenWords (OrthographicLine::Words): each word's first
// character and length, counted in the line's characters as the wrap pass counts them (a byte
// that forms no character counts as one), in order and apart; valid until the next call. Without
// them KeepWrittenWords cuts as KeepWords.
using WrittenWords =
    std::function<std::span<const OrthographicWord>(std::string_view line, TextForm form)>;

// Where the wrap pass stands inside a long line read in pieces: the characters of the output line
// written so far without its line end, and under KeepWords the characters since the last place
// the line may end, held until it is known on which line they go (at most `width` + 1 of them: a
// run longer than a line is written as it comes, on a line of its own).
struct WrapCarry {
  std::size_t characters = 0;
  std::string held;
  std::size_t heldCharacters = 0;
  bool overflowing = false;  // the run being written is longer than a line
  BreakContext breaks;
};

// The wrap pass: every line of `source` cut from its front into pieces of `width` characters
// (an ASCII character counts as one, like a Chinese character), the last piece holding the rest,
// each written to `out` as a line. An empty line gives no piece and so disappears. Bytes that
// form no valid character count as a character each, so every byte is kept and the cut ends.
// In Unicode text a character is a code point (or a raw byte); the pieces keep the form.
void WrapLines(const LineList& source, std::size_t width, TextFileWriter& out,
               TextForm form = TextForm::Cp936, WrapRule rule = WrapRule::EveryWidth,
               const WrittenWords& words = {});

// The same for a chunk of a source read in pieces: the first line goes on from where `carry`
// stands, and when `lastLineContinues` the last line's remainder is written without its line end
// and counted in `carry`, so the pieces of a line are cut exactly as the whole line. Under
// KeepWrittenWords each piece's words are its own: a word that runs across the end of a piece
// (a piece ends after a space or punctuation mark where it can, so only in a long run of Chinese
// characters) may be cut there.
void WrapLines(const LineList& source, std::size_t width, TextFileWriter& out, TextForm form,
               bool lastLineContinues, WrapCarry& carry, WrapRule rule = WrapRule::EveryWidth,
               const WrittenWords& words = {});

// Ends the line `carry` stands in, for a text that ends (at a NUL) right after a piece of it.
void FinishWrap(std::size_t width, TextFileWriter& out, WrapCarry& carry);

}  // namespace tolvane
