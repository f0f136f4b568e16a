#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

// How a handout looks, one set of choices for every page it is written to: printing and PDF, the
// HTML page, DOCX, ODT and EPUB. The window saves it with the user's settings and the command
// line reads a saved one (--design FILE), so a teacher's design travels between the two.
namespace tolvane {

enum class PaperSize { A4, A5, Letter };

// Which characters get their reading. Every: all. Uncommon: those outside the 3,500 common
// characters of the 2013 general standard list, for readers who know those. Unusual: those read
// otherwise than their most common reading (the polyphones a reader would get wrong). First: the
// first occurrence of each character in the document.
enum class AnnotationScope { Every, Uncommon, Unusual, First };

// Colours of the five tones (four and the light tone). Off writes every reading in the text
// colour; the schemes are the ones classrooms and dictionaries use; Custom takes `toneColours`.
enum class ToneColourScheme { Off, Classic, Dictionary, Contrast, Custom };

// Where the title comes from. FirstLine: the source's first line, when it is short, becomes the
// heading and title; Fixed: `titleText`; None: no title.
enum class TitleSource { FirstLine, Fixed, None };

struct PageDesign {
  PaperSize paper = PaperSize::A4;
  double marginMm = 20;  // on all four sides
  // Font families; empty picks the best face installed (a schoolbook face with single-storey ɑ
  // and ɡ for the readings where there is one).
  std::string textFont;
  double textSizePt = 16;
  std::string readingFont;
  int readingPercent = 50;   // the readings' size as a share of the characters'
  double lineSpacing = 1.2;  // the distance between lines' baselines, as a multiple of the rows
  // Space kept on each side of a reading, as a share of the reading's size, so that the readings
  // of neighbouring characters never run together.
  double syllableGap = 0.1;
  TitleSource titleSource = TitleSource::FirstLine;
  std::string titleText;  // UTF-8, for TitleSource::Fixed
  bool pageNumbers = true;
  ToneColourScheme toneScheme = ToneColourScheme::Off;
  // #rrggbb for tones 1 to 4 and the light tone, for ToneColourScheme::Custom.
  std::array<std::string, 5> toneColours{"#e30000", "#ff8c00", "#00a000", "#0050e6", "#707070"};
  AnnotationScope scope = AnnotationScope::Every;

  bool operator==(const PageDesign&) const = default;
};

// The page's width and height in millimetres.
struct PaperMm {
  double width;
  double height;
};
PaperMm PaperSizeMm(PaperSize paper);

// The colour (#rrggbb) of a reading in `tone` (1 to 4; 5 or 0 the light tone) under the design's
// scheme; empty when tone colours are off.
std::string ToneColour(const PageDesign& design, int tone);

// The tone of one syllable of pinyin in any tone style: its tone mark, or its tone digit; 5 for a
// syllable without either (the light tone, or plain pinyin, which tells no tone).
int ToneOfSyllable(std::string_view syllableUtf8);

// A design as a small UTF-8 text of "key = value" lines (comments start with #), and back. The
// reader takes any subset of the keys, in any order, and keeps the defaults for the others; an
// unknown key or a bad value is an error naming `path` and the line, so a typo is not silently a
// different design.
std::string PageDesignText(const PageDesign& design);
PageDesign ParsePageDesign(std::string_view text, const std::filesystem::path& path = {});
PageDesign ReadPageDesign(const std::filesystem::path& path);
void WritePageDesign(const PageDesign& design, const std::filesystem::path& path);

}  // namespace tolvane
