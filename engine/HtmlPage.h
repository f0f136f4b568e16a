#pragma once

#include <string>
#include <string_view>

#include "platform/TextEncoding.h"
#include "reading/LineReadings.h"
#include "settings/ConversionSettings.h"

namespace tolvane {

// What a page shows besides its lines, when the front end has a page design for it.
struct HtmlPageLook {
  // UTF-8. Empty: the source's first line when it is short and more lines follow
  // (TitleOfFirstLine), else the source's file name.
  std::string title;
  bool titleFromFirstLine = true;  // false: the file name whenever `title` is empty
  // The page's style sheet (CSS); empty: the page's own, sized for reading on a screen.
  std::string style;
  // HTML that closes the page's body, such as the credits of the data; empty: none.
  std::string colophon;
};

// The HTML output format: a complete HTML5 page in UTF-8 whatever the source's encoding, with
// each reading in ruby markup over its character, <ruby>字<rt>zì</rt></ruby>, so that browsers
// and their printing centre it there. A page holds one block per line of the source (an empty
// line an empty block). A character's reading is exactly what the text layouts write for it
// under the same settings (tone style, polyphone policy, Wade-Giles switch, user readings); a
// character without one stands as text, escaped. The align switch plays no part.
class HtmlPage {
 public:
  // The page's beginning: the doctype, the head with its title (escaped) and style sheet
  // (`style`, or the page's own when empty).
  static std::string Head(std::string_view titleUtf8, std::string_view style = {});
  // The page's end, after `colophon` (HTML, written as it is).
  static std::string Tail(std::string_view colophon = {});

  // Appends the block of one source line, held in `form`, to `out` (UTF-8).
  static void AppendLine(LineReadings& readings, std::string_view line, TextForm form,
                         const ConversionSettings& settings, std::string& out);
  // The same for one piece of a line read in pieces: the block opens before the line's first
  // piece and closes after its last, so the pieces put together make the line's block.
  static void AppendPiece(LineReadings& readings, std::string_view piece, TextForm form,
                          const ConversionSettings& settings, bool lineStart, bool lineEnd,
                          std::string& out);
};

// The longest first line, in characters, that is taken for a title rather than for the first
// sentence of the text.
inline constexpr std::size_t kLongestTitle = 30;

// A document's first line as its title, the way a handout takes it: a line of 1 to
// kLongestTitle characters (UTF-8), given without its surrounding spaces; empty when the line is
// longer, holds nothing but spaces, or ends with a full stop, comma, semicolon or colon (a
// sentence, not a title; a question or an exclamation may be a title). A document of one line has
// no title line: the caller asks only when more lines follow.
std::string TitleOfFirstLine(std::string_view lineUtf8);

// The same rule for a source read in pieces, as a run reads it: the first line is taken in as
// its pieces come, until more cannot change the answer (the line is too long, or a second line
// has begun). The answer is the same however the source is cut into pieces.
class FirstLineTitle {
 public:
  explicit FirstLineTitle(TextForm form) : form_(form) {}

  // The next piece of the source's lines, held in the form given: `lineStart` when a line
  // begins with it, `lineEnd` when the line ends with it.
  void Piece(std::string_view piece, bool lineStart, bool lineEnd);
  // Whether the title is settled: no later piece can change it.
  bool Settled() const { return settled_; }
  // The title (UTF-8), or empty for none; final once Settled() or the source has ended.
  std::string Title() const;

 private:
  TextForm form_;
  std::string line_;  // UTF-8, only as far as it can still be a title
  std::size_t characters_ = 0;
  bool lineStarted_ = false;
  bool lineEnded_ = false;
  bool moreLines_ = false;
  bool settled_ = false;
};

// Appends `textUtf8` to `out` with &, <, >, " and ' escaped.
void AppendHtmlEscaped(std::string_view textUtf8, std::string& out);

}  // namespace tolvane
