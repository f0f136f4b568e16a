#include "ui/RubyPageLayout.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

namespace tolvane {

RubyPageLayout::RubyPageLayout(const QPaintDevice& device, QSizeF page, const QFont& textFont)
    : device_(device), page_(page), textFont_(textFont), readingFont_(textFont) {
  readingFont_.setPointSizeF(textFont.pointSizeF() / 2);
}

QFont RubyPageLayout::DefaultTextFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                    QStringLiteral("Source Han Serif SC"), QStringLiteral("Source Han Sans SC"),
                    QStringLiteral("AR PL UMing CN"), QStringLiteral("WenQuanYi Zen Hei"),
                    QStringLiteral("SimSun"), QStringLiteral("Microsoft YaHei")});
  font.setPointSizeF(16);
  return font;
}

std::vector<RubyPage> RubyPageLayout::Layout(const std::vector<RubyLine>& lines) const {
  // Metrics in the device's own units: a printer's or a PDF writer's resolution, or a screen's.
  const QFontMetricsF text(textFont_, const_cast<QPaintDevice*>(&device_));
  const QFontMetricsF reading(readingFont_, const_cast<QPaintDevice*>(&device_));
  const qreal readingHeight = reading.height();
  const qreal textHeight = text.height();
  const qreal lineHeight = readingHeight + textHeight + textHeight * 0.35;
  // Between two characters, so that two readings wider than their characters never touch.
  const qreal gap = reading.horizontalAdvance(QLatin1Char(' ')) * 0.6;

  std::vector<RubyPage> pages(1);
  qreal y = 0;
  const auto newLine = [&] {
    y += lineHeight;
    if (y + lineHeight > page_.height() && y > 0) {
      pages.emplace_back();
      y = 0;
    }
  };
  for (std::size_t l = 0; l < lines.size(); ++l) {
    if (l > 0) newLine();
    qreal x = 0;
    for (const RubyCharacter& character : lines[l]) {
      RubyPageItem item;
      item.text = QString::fromStdString(character.text);
      item.reading = QString::fromStdString(character.reading);
      const qreal textWidth = text.horizontalAdvance(item.text);
      const qreal readingWidth =
          item.reading.isEmpty() ? 0 : reading.horizontalAdvance(item.reading);
      const qreal width = std::max(textWidth, readingWidth) + (item.reading.isEmpty() ? 0 : gap);
      if (x > 0 && x + width > page_.width()) {
        newLine();
        x = 0;
      }
      const qreal centre = x + width / 2;
      item.textBox = QRectF(centre - textWidth / 2, y + readingHeight, textWidth, textHeight);
      if (!item.reading.isEmpty())
        item.readingBox = QRectF(centre - readingWidth / 2, y, readingWidth, readingHeight);
      pages.back().items.push_back(std::move(item));
      x += width;
    }
  }
  return pages;
}

void RubyPageLayout::Paint(QPainter& painter, const RubyPage& page) const {
  for (const RubyPageItem& item : page.items) {
    painter.setFont(textFont_);
    painter.drawText(item.textBox, Qt::AlignCenter | Qt::TextDontClip, item.text);
    if (item.reading.isEmpty()) continue;
    painter.setFont(readingFont_);
    painter.drawText(item.readingBox, Qt::AlignCenter | Qt::TextDontClip, item.reading);
  }
}

int RubyPageLayout::Print(QPagedPaintDevice& device, const std::vector<RubyLine>& lines) {
  const QRectF area = device.pageLayout().paintRectPixels(device.logicalDpiX());
  const RubyPageLayout layout(device, area.size(), DefaultTextFont());
  const std::vector<RubyPage> pages = layout.Layout(lines);
  QPainter painter(&device);
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (i > 0) device.newPage();
    layout.Paint(painter, pages[i]);
  }
  painter.end();
  return static_cast<int>(pages.size());
}

}  // namespace tolvane
