#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "documents/PageDesign.h"
#include "engine/RubyLine.h"
#include "platform/TextEncoding.h"
#include "reading/LineReadings.h"
#include "settings/ConversionSettings.h"

// A handout: the annotated lines every document format writes (DOCX, ODT, EPUB, HTML, printing
// and PDF), with the title and the choice of annotated characters the page design asks for
// already made, so that every format shows the same thing.
namespace tolvane {

struct HandoutLine {
  RubyLine units;  // a unit with an empty reading stands bare
  bool heading = false;
};

struct Handout {
  std::string title;  // UTF-8; empty: none
  std::string name;   // the source's file name without its extension, for metadata
  std::vector<HandoutLine> lines;
};

// The name a document's metadata gives the handout: its title, else its source's name, else
// "Tolvane" (a document needs one).
std::string DocumentTitle(const Handout& handout);

// The plain text of a line's units (UTF-8).
std::string TextOfUnits(const RubyLine& units);

// A character's most common reading (UTF-8 in, UTF-8 out; empty for none).
using UsualReading = std::function<std::string(std::string_view characterUtf8)>;

// Makes a handout of annotated lines. `usual` gives each character's most common reading, for
// AnnotationScope::Unusual; other scopes do not ask it. `fixedTitle` is the title line's units
// for TitleSource::Fixed.
Handout ComposeHandout(std::vector<RubyLine> lines, const UsualReading& usual,
                       const PageDesign& design, RubyLine fixedTitle = {});

// The most common reading of a character: how reading by context reads it standing alone, in
// the settings' tone style (remembered per character, so a handout asks each once).
UsualReading UsualReadingOf(LineReadings& readings, const ConversionSettings& settings);

// A source file's lines as a run reads and re-cuts them, annotated and composed as above.
Handout ReadHandout(LineReadings& readings, const std::filesystem::path& source,
                    const ConversionSettings& settings, const PageDesign& design,
                    EncodingChoice choice = EncodingChoice::Auto);

// The same for text in memory (UTF-8, lines ending in LF or CR LF), as the proofreading window
// holds it.
Handout HandoutOfText(LineReadings& readings, std::string_view textUtf8,
                      const ConversionSettings& settings, const PageDesign& design);

}  // namespace tolvane
