#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <vector>

#include "documents/Handout.h"
#include "documents/PageDesign.h"

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

// Pages of ruby text for printing and PDF, laid out as a page design asks: each reading centred
// above its character, lines broken by the rules of Chinese typesetting within the margins,
// pages at the bottom margin, headings larger, page numbers in the bottom margin. The layout is
// worked out first, as boxes in the paint device's units with the paper's top left corner at the
// origin, and then painted, so that the same layout serves the print preview, the printer, the
// PDF file and the page design's preview, and tests can look at where everything went.
namespace tolvane {

enum class RubyItemRole { Body, Heading, PageNumber };

struct RubyPageItem {
  QString text;
  QString reading;  // empty: none
  QRectF textBox;
  QRectF readingBox;
  QColor readingColour;  // invalid: the text colour
  RubyItemRole role = RubyItemRole::Body;
};

struct RubyPage {
  std::vector<RubyPageItem> items;
};

class RubyPageLayout {
 public:
  // `device` gives the metrics (its resolution); the paper and everything else come from the
  // design.
  RubyPageLayout(const QPaintDevice& device, const PageDesign& design);

  // The font families a design's empty names stand for: the first installed face of a list of
  // Chinese serif and sans faces for the characters; for the readings a schoolbook face with
  // single-storey ɑ and ɡ where one is installed, else a plain sans. A face counts only when it
  // has every tone-marked vowel of pinyin, so that a reading never mixes two faces. Whatever the
  // machine has, some family comes back (at worst the application's default).
  static QString TextFamily(const PageDesign& design);
  static QString ReadingFamily(const PageDesign& design);

  // The paper and the part of it within the margins, in the device's units.
  QRectF PaperRect() const { return paper_; }
  QRectF ContentRect() const { return content_; }
  const QFont& FontOf(RubyItemRole role) const;
  const QFont& ReadingFontOf(RubyItemRole role) const;

  std::vector<RubyPage> Layout(const Handout& handout) const;

  // Paints one page with the paper's top left corner at the painter's origin.
  void Paint(QPainter& painter, const RubyPage& page) const;

  // Sets the device's paper to the design's, lays out and prints every page on it (a printer or
  // a PDF writer), starting a new device page for each; returns the number of pages.
  static int Print(QPagedPaintDevice& device, const Handout& handout, const PageDesign& design);

 private:
  PageDesign design_;
  QRectF paper_;
  QRectF content_;
  QFont textFont_;
  QFont readingFont_;
  QFont headingFont_;
  QFont headingReadingFont_;
  QFont numberFont_;
  qreal gap_;         // kept on each side of a body reading
  qreal headingGap_;  // the same for a heading's
  const QPaintDevice& device_;
};

// Whether a line may not begin with `unit` (closing punctuation: ，。、；：？！）》」』】”’ and the
// like) or end with it (opening punctuation: （《「『【“‘ and the like). UTF-8.
bool IsClosingPunctuation(std::string_view unitUtf8);
bool IsOpeningPunctuation(std::string_view unitUtf8);

}  // namespace tolvane
