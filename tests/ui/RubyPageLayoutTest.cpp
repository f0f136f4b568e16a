// The print and PDF layout: readings centred above their characters, lines broken at the page
// width and pages at its height; a page rendered to an image to see where the ink went.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "ui/RubyPageLayout.h"

namespace tolvane {
namespace {

RubyLine Line(std::initializer_list<std::pair<const char*, const char*>> characters) {
  RubyLine line;
  for (const auto& [text, reading] : characters) line.push_back({text, reading});
  return line;
}

// The bounding box of the dark pixels of `image` inside `area`, or an empty one.
QRect Ink(const QImage& image, const QRect& area) {
  QRect ink;
  for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y)
    for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x)
      if (qGray(image.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
  return ink;
}

TEST(RubyPageLayout, AReadingStandsCentredAboveItsCharacter) {
  QImage page(794, 1123, QImage::Format_RGB32);  // A4 at 96 dpi
  QFont font = RubyPageLayout::DefaultTextFont();
  font.setPointSize(24);
  const RubyPageLayout layout(page, QSizeF(page.size()), font);
  const std::vector<RubyLine> lines = {
      Line({{"我", "wǒ"},
            {"爱", "ài"},
            {"北", "běi"},
            {"京", "jīng"},
            {"，", ""},
            {"长", "zhǎng/cháng"},
            {"W", ""}}),
      {},
      Line({{"上", "shàng"}}),
  };
  const std::vector<RubyPage> pages = layout.Layout(lines);
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].items.size(), 8u);
  page.fill(Qt::white);
  {
    QPainter painter(&page);
    painter.setPen(Qt::black);
    layout.Paint(painter, pages[0]);
  }
  qreal previousRight = -1;
  qreal lineTop = -1;
  for (const RubyPageItem& item : pages[0].items) {
    SCOPED_TRACE(item.text.toStdString());
    if (item.textBox.top() != lineTop) previousRight = -1;
    lineTop = item.textBox.top();
    EXPECT_GE(item.textBox.left(), previousRight - 0.01);  // in order, never overlapping
    previousRight = std::max(item.textBox.right(), item.readingBox.right());
    if (item.reading.isEmpty()) {
      EXPECT_TRUE(item.readingBox.isNull());
      continue;
    }
    EXPECT_NEAR(item.readingBox.center().x(), item.textBox.center().x(), 0.01);
    EXPECT_LE(item.readingBox.bottom(), item.textBox.top() + 0.01);
    // What was drawn: the reading's ink above the character's, centred over it.
    const QRect readingInk = Ink(page, item.readingBox.toAlignedRect());
    const QRect textInk = Ink(page, item.textBox.toAlignedRect());
    ASSERT_FALSE(readingInk.isEmpty());
    ASSERT_FALSE(textInk.isEmpty());
    EXPECT_LT(readingInk.bottom(), textInk.top());
    EXPECT_NEAR(readingInk.center().x(), textInk.center().x(), 4.0);
  }
  // The empty line keeps its place: the third line stands two lines below the first.
  const qreal lineStep = pages[0].items[7].textBox.top() - pages[0].items[0].textBox.top();
  EXPECT_GT(lineStep, 2 * pages[0].items[0].textBox.height());
}

TEST(RubyPageLayout, LinesBreakAtThePageWidthAndPagesAtItsHeight) {
  QImage device(400, 300, QImage::Format_RGB32);
  const RubyPageLayout layout(device, QSizeF(400, 300), RubyPageLayout::DefaultTextFont());
  RubyLine longLine;
  for (int i = 0; i < 300; ++i) longLine.push_back({"中", "zhōng"});
  const std::vector<RubyPage> pages = layout.Layout({longLine});
  ASSERT_GT(pages.size(), 1u);
  std::size_t items = 0;
  for (const RubyPage& page : pages) {
    items += page.items.size();
    for (const RubyPageItem& item : page.items) {
      EXPECT_GE(item.readingBox.left(), 0);
      EXPECT_LE(item.readingBox.right(), 400.01);
      EXPECT_GE(item.readingBox.top(), 0);
      EXPECT_LE(item.textBox.bottom(), 300.01);
    }
  }
  EXPECT_EQ(items, 300u);  // every character once
  EXPECT_EQ(layout.Layout({}).size(), 1u);
}

}  // namespace
}  // namespace tolvane
