#pragma once

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

#include "engine/RubyLine.h"

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

// Pages of ruby text for printing and PDF: each reading centred above its character, lines
// broken at the page's width, pages at its height. The layout is worked out first, as boxes in
// the paint device's units, and then painted, so that the same layout serves the print preview,
// the printer and the PDF file, and tests can look at where everything went.
namespace tolvane {

struct RubyPageItem {
  QString text;
  QString reading;  // empty: none
  QRectF textBox;
  QRectF readingBox;
};

struct RubyPage {
  std::vector<RubyPageItem> items;
};

class RubyPageLayout {
 public:
  // `device` gives the metrics (its resolution); `page` is the printable area in its units.
  RubyPageLayout(const QPaintDevice& device, QSizeF page, const QFont& textFont);

  // The fonts of the characters and of their readings (half the size).
  static QFont DefaultTextFont();
  const QFont& textFont() const { return textFont_; }
  const QFont& readingFont() const { return readingFont_; }

  std::vector<RubyPage> Layout(const std::vector<RubyLine>& lines) const;

  // Paints one page with its top left at the painter's origin.
  void Paint(QPainter& painter, const RubyPage& page) const;

  // Lays out and prints every page on `device` (a printer or a PDF writer), starting a new
  // device page for each; returns the number of pages.
  static int Print(QPagedPaintDevice& device, const std::vector<RubyLine>& lines);

 private:
  const QPaintDevice& device_;
  QSizeF page_;
  QFont textFont_;
  QFont readingFont_;
};

}  // namespace tolvane
