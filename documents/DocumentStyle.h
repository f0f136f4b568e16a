#pragma once

#include <string>

#include "documents/PageDesign.h"
#include "engine/HtmlPage.h"
#include "engine/RubyLine.h"

// A page design as CSS and ruby markup: the one style sheet the HTML page and the EPUB share, and
// the markup of an annotated line that goes with it.
namespace tolvane {

// The CSS font-family lists for the characters and for the readings: the design's face first,
// then good faces for each (a CJK serif, then sans, face for the characters; for the readings a
// schoolbook face whose a and g are the ones children learn to write, then plain sans faces).
std::string TextFontFamilies(const PageDesign& design);
std::string ReadingFontFamilies(const PageDesign& design);

// The design's style sheet: the paper and its margins (@page), the characters' face and size,
// the readings' face and their size as the design's share of the characters', the space between
// lines from the line spacing (rows of a character and its reading), room on both sides of every
// reading so that neighbouring readings never touch, the readings over their characters, the
// headings, the colophon, and the tone colour classes .t1 to .t5 when the design colours tones.
std::string DocumentStyleSheet(const PageDesign& design);

// The class of a reading's tone colour ("t1" to "t5"), or empty: when the design does not colour
// tones, or when the reading is not one syllable of one character. A written word over several
// characters stays in the text's colour: its reading cannot be cut into its characters' syllables
// reliably in every tone style (plain pinyin, erhua, names and apostrophes).
std::string ToneClass(const RubyCharacter& unit, const PageDesign& design);

// Appends the XHTML (also HTML) of a line's units: each unit with a reading as
// <ruby>字<rp>(</rp><rt class="t4">zì</rt><rp>)</rp></ruby>, so that a reader without ruby shows
// 字(zì), and each bare unit as text. All text is XML-escaped.
void AppendRubyUnits(const RubyLine& units, const PageDesign& design, std::string& out);

// The colophon crediting the data the readings come from (XHTML, also HTML): a section naming
// each source, its holder and licence, with a link to it.
std::string ColophonMarkup();

// What a batch run's HTML page takes from the design: its style sheet, its title rule and the
// colophon.
HtmlPageLook HtmlPageLookOf(const PageDesign& design);

}  // namespace tolvane
