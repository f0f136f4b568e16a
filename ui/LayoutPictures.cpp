#include "ui/LayoutPictures.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <array>

namespace tolvane {
namespace {

const std::array<QString, 4> kCharacters = {QStringLiteral("输"), QStringLiteral("出"),
                                            QStringLiteral("格"), QStringLiteral("式")};
const std::array<QString, 4> kReadings = {QStringLiteral("shu"), QStringLiteral("chu"),
                                          QStringLiteral("ge"), QStringLiteral("shi")};

constexpr int kMargin = 2;

QString InlineText(bool readingFirst) {
  QString text;
  for (std::size_t i = 0; i < kCharacters.size(); ++i) {
    const QString bracketed = u'(' + kReadings[i] + u')';
    text += readingFirst ? bracketed + kCharacters[i] : kCharacters[i] + bracketed;
  }
  return text;
}

// The largest font, up to `font`'s size, whose rendering of `text` fits `width`.
QFont FittingFont(QFont font, const QString& text, int width) {
  while (font.pixelSize() > 6 && QFontMetrics(font).horizontalAdvance(text) > width) {
    font.setPixelSize(font.pixelSize() - 1);
  }
  return font;
}

void DrawTwoLines(QPainter& painter, QSize size, bool readingsAbove) {
  const QFontMetrics metrics(painter.font());
  constexpr int kGap = 6;
  std::array<int, 4> columnWidths{};
  for (std::size_t i = 0; i < columnWidths.size(); ++i) {
    columnWidths[i] = std::max(metrics.horizontalAdvance(kReadings[i]),
                               metrics.horizontalAdvance(kCharacters[i]));
  }
  const int rowHeight = size.height() / 2;
  const QRect topRow(0, 0, size.width(), rowHeight);
  const QRect bottomRow(0, rowHeight, size.width(), size.height() - rowHeight);
  int x = kMargin;
  for (std::size_t i = 0; i < columnWidths.size(); ++i) {
    const QRect top(x, topRow.y(), columnWidths[i], topRow.height());
    const QRect bottom(x, bottomRow.y(), columnWidths[i], bottomRow.height());
    painter.drawText(readingsAbove ? top : bottom, Qt::AlignCenter, kReadings[i]);
    painter.drawText(readingsAbove ? bottom : top, Qt::AlignCenter, kCharacters[i]);
    x += columnWidths[i] + kGap;
  }
}

}  // namespace

QPixmap LayoutPicture(OutputFormat format, QPixmap background, const QFont& font) {
  QPixmap pixmap = std::move(background);
  const QSize size = pixmap.deviceIndependentSize().toSize();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setPen(Qt::black);

  // Pixel sizes, so that FittingFont can shrink the inline pictures step by step.
  QFont pictureFont = font;
  pictureFont.setPixelSize(QFontInfo(font).pixelSize());
  switch (format) {
    case OutputFormat::rb_output_py:
    case OutputFormat::rb_output_han:
      painter.setFont(pictureFont);
      DrawTwoLines(painter, size, format == OutputFormat::rb_output_py);
      break;
    case OutputFormat::rb_output_hanpy:
    case OutputFormat::rb_output_pyhan: {
      const QString text = InlineText(format == OutputFormat::rb_output_pyhan);
      painter.setFont(FittingFont(pictureFont, text, size.width() - 2 * kMargin));
      painter.drawText(QRect(kMargin, 0, size.width() - kMargin, size.height()),
                       Qt::AlignLeft | Qt::AlignVCenter, text);
      break;
    }
    case OutputFormat::rb_output_py_only:
      break;  // that button has a caption of its own and no picture
    case OutputFormat::html:
      break;  // chosen by the target's name, never by a button
  }
  painter.end();
  return pixmap;
}

}  // namespace tolvane
