#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/RubyLine.h"

// The markup inside a subtitle cue's text lines: what is text to be read and what is markup to be
// kept as it stands. WebVTT cue text holds tags (<i>, <b>, <u>, <c.class>, <v Name>, <lang zh>,
// <ruby>/<rt>, timestamps <00:01.000>) and character references (&amp; &lt; &gt; &nbsp; ...);
// SRT text holds HTML-like tags (<i>, <font color="...">) and the {\an8} overrides of its players.
namespace tolvane {

// One piece of a cue text line: a tag, or one character with the bytes it is written with in the
// line (a character reference stands for the character it names).
struct CueTextItem {
  bool tag = false;
  std::string_view source;  // the bytes in the line
  std::string text;         // a character: its UTF-8; a tag: empty
  bool inRuby = false;      // a character inside the line's own <ruby> element
  bool inRubyText = false;  // ... and inside its <rt>: the line's own reading, not text to read

  // Whether the piece goes out untouched and is no text to read.
  bool Markup() const { return tag || inRubyText; }
};

// The pieces of a WebVTT cue text line. A tag runs from '<' to the next '>' (to the line's end when
// none follows); '&' followed by a name or number and ';' is a character reference, any other '&'
// is itself.
std::vector<CueTextItem> SplitVttCueText(std::string_view line);

// The text of a line's characters, without the tags and the readings of the line's own ruby
// (UTF-8).
std::string PlainTextOf(const std::vector<CueTextItem>& items);

// An SRT text line without its tags: <...> tags that begin with a letter or '/', and {\...}
// overrides. Everything else is text.
std::string StripSrtMarkup(std::string_view line);

// Text escaped for WebVTT cue text: &, < and >.
std::string VttEscaped(std::string_view textUtf8);

// The WebVTT line again with each unit of `units` (the readings of the line's plain text, one
// unit a character or a written word over several) that has a reading set as
// <ruby>base<rt>reading</rt></ruby>. Tags and the characters' bytes stay as they are written;
// the characters of the line's own ruby stay bare. A written word that a tag cuts in two gets
// its reading over its part before the tag.
std::string VttLineWithRuby(const std::vector<CueTextItem>& items, const RubyLine& units);

}  // namespace tolvane
