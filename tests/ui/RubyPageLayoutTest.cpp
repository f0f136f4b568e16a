// The print and PDF layout under a page design: readings centred above their characters and
// apart from their neighbours', everything within the margins, lines broken by the rules of
// Chinese typesetting, headings larger, page numbers in the bottom margin, tone colours on the
// readings. Any installed fonts will do: the tests measure what the layout made of them.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <map>

#include "ui/RubyPageLayout.h"

namespace tolvane {
namespace {

// A paint device of 96 dpi for the metrics.
QImage Device(int width = 10, int height = 10) {
  QImage image(width, height, QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  return image;
}

RubyLine Units(std::initializer_list<std::pair<const char*, const char*>> units) {
  RubyLine line;
  for (const auto& [text, reading] : units) line.push_back({text, reading});
  return line;
}

RubyLine Repeated(const RubyCharacter& unit, int count) { return RubyLine(count, unit); }

Handout Of(std::vector<RubyLine> lines) {
  Handout handout;
  for (RubyLine& line : lines) handout.lines.push_back({std::move(line), false});
  return handout;
}

// The body and heading items of a page in their lines, top to bottom.
std::vector<std::vector<const RubyPageItem*>> LinesOf(const RubyPage& page) {
  std::map<qreal, std::vector<const RubyPageItem*>> byTop;
  for (const RubyPageItem& item : page.items)
    if (item.role != RubyItemRole::PageNumber) byTop[item.textBox.top()].push_back(&item);
  std::vector<std::vector<const RubyPageItem*>> lines;
  for (auto& [top, items] : byTop) lines.push_back(std::move(items));
  return lines;
}

std::vector<std::vector<const RubyPageItem*>> LinesOf(const std::vector<RubyPage>& pages) {
  std::vector<std::vector<const RubyPageItem*>> lines;
  for (const RubyPage& page : pages)
    for (auto& line : LinesOf(page)) lines.push_back(std::move(line));
  return lines;
}

bool Inside(const QRectF& box, const QRectF& area) {
  constexpr qreal kSlack = 0.01;
  return box.left() >= area.left() - kSlack && box.right() <= area.right() + kSlack &&
         box.top() >= area.top() - kSlack && box.bottom() <= area.bottom() + kSlack;
}

// A long text with a heading, long lines, empty lines and wide readings: several pages.
Handout Book() {
  Handout handout = Of({});
  handout.lines.push_back({Units({{"静", "jìng"}, {"夜", "yè"}, {"思", "sī"}}), true});
  for (int i = 0; i < 30; ++i) {
    handout.lines.push_back({Repeated({"装", "zhuàng"}, 40 + i), false});
    handout.lines.push_back({Units({{"床", "chuáng"}, {"，", ""}, {"A", ""}, {"b", ""}}), false});
    handout.lines.push_back({{}, false});
  }
  return handout;
}

struct PaperCase {
  const char* name;
  PaperSize paper;
  double marginMm;
  bool pageNumbers;
  double widthMm;
  double heightMm;
};

class EveryPaper : public ::testing::TestWithParam<PaperCase> {};

TEST_P(EveryPaper, EverythingStaysWithinTheMarginsAndPageNumbersInTheBottomOne) {
  const PaperCase& paper = GetParam();
  PageDesign design;
  design.paper = paper.paper;
  design.marginMm = paper.marginMm;
  design.pageNumbers = paper.pageNumbers;
  const QImage device = Device();
  const RubyPageLayout layout(device, design);
  const qreal pxPerMm = 96 / 25.4;
  EXPECT_NEAR(layout.PaperRect().width(), paper.widthMm * pxPerMm, 0.5);
  EXPECT_NEAR(layout.PaperRect().height(), paper.heightMm * pxPerMm, 0.5);
  const QRectF content = layout.ContentRect();
  EXPECT_NEAR(content.left(), paper.marginMm * pxPerMm, 0.5);
  EXPECT_NEAR(content.top(), paper.marginMm * pxPerMm, 0.5);
  EXPECT_NEAR(content.right(), (paper.widthMm - paper.marginMm) * pxPerMm, 0.5);
  EXPECT_LE(content.bottom(), (paper.heightMm - paper.marginMm) * pxPerMm + 0.5);

  const std::vector<RubyPage> pages = layout.Layout(Book());
  ASSERT_GT(pages.size(), 1u);
  for (std::size_t p = 0; p < pages.size(); ++p) {
    int numbers = 0;
    for (const RubyPageItem& item : pages[p].items) {
      SCOPED_TRACE(item.text.toStdString());
      if (item.role == RubyItemRole::PageNumber) {
        ++numbers;
        EXPECT_EQ(item.text, QString::number(p + 1));
        EXPECT_TRUE(Inside(item.textBox, layout.PaperRect()));
        EXPECT_GE(item.textBox.top(), content.bottom());  // in the bottom margin
        continue;
      }
      EXPECT_TRUE(Inside(item.textBox, content));
      if (!item.reading.isEmpty()) {
        EXPECT_TRUE(Inside(item.readingBox, content));
      }
    }
    EXPECT_EQ(numbers, paper.pageNumbers ? 1 : 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    PageLayout, EveryPaper,
    ::testing::Values(PaperCase{"A4", PaperSize::A4, 20, true, 210, 297},
                      PaperCase{"A5", PaperSize::A5, 12, true, 148, 210},
                      PaperCase{"Letter", PaperSize::Letter, 30, false, 215.9, 279.4},
                      PaperCase{"A4NoMargin", PaperSize::A4, 0, true, 210, 297}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RubyPageLayout, NeighbouringReadingsNeverTouch) {
  // Readings far wider than their characters, side by side.
  const QImage device = Device();
  for (const double gap : {0.05, 0.1, 0.5}) {
    PageDesign design;
    design.syllableGap = gap;
    design.readingPercent = 70;
    const RubyLine line = Units({{"银", "yín"},
                                 {"行", "háng"},
                                 {"行", "háng"},
                                 {"长", "zhǎng"},
                                 {"长", "cháng"},
                                 {"行", "xíng"},
                                 {"装", "zhuàng"},
                                 {"床", "chuáng"},
                                 {"长", "zhǎng/cháng"}});
    const RubyPageLayout layout(device, design);
    const std::vector<RubyPage> pages = layout.Layout(Of({line, line, line}));
    const auto lines = LinesOf(pages);
    ASSERT_EQ(lines.size(), 3u);
    const qreal least =
        2 * gap * design.textSizePt * design.readingPercent / 100.0 * 96 / 72 - 0.01;
    for (const auto& items : lines) {
      ASSERT_EQ(items.size(), line.size());
      for (std::size_t i = 0; i + 1 < items.size(); ++i) {
        SCOPED_TRACE(items[i]->reading.toStdString());
        EXPECT_GE(items[i + 1]->readingBox.left() - items[i]->readingBox.right(), least);
        EXPECT_GE(items[i + 1]->textBox.left(), items[i]->textBox.right());
        // Centred above its character.
        EXPECT_NEAR(items[i]->readingBox.center().x(), items[i]->textBox.center().x(), 0.01);
        EXPECT_LE(items[i]->readingBox.bottom(), items[i]->textBox.top() + 0.01);
      }
    }
  }
}

// Where each mark is put after a growing run of characters, its place in the lines.
struct MarkPlaces {
  bool beganALine = false;
  bool endedALine = false;
  bool brokeBeside = false;  // a line broke right before or after it: the rule had work to do
};

MarkPlaces PlacesOf(const char* mark) {
  PageDesign design;
  design.paper = PaperSize::A5;
  design.marginMm = 20;
  const QImage device = Device();
  const RubyPageLayout layout(device, design);
  MarkPlaces places;
  // Enough positions to move the mark across a whole line.
  for (int before = 1; before < 40; ++before) {
    RubyLine line = Repeated({"中", "zhōng"}, before);
    line.push_back({mark, ""});
    for (int i = 0; i < 30; ++i) line.push_back({"国", "guó"});
    const std::vector<RubyPage> pages = layout.Layout(Of({line}));
    const auto lines = LinesOf(pages);
    std::size_t units = 0;
    for (std::size_t l = 0; l < lines.size(); ++l) {
      units += lines[l].size();
      const QString text = QString::fromUtf8(mark);
      if (lines[l].front()->text == text) places.beganALine = true;
      if (lines[l].back()->text == text) places.endedALine = true;
      // A break that the rules moved: a closing mark kept at a line's end or pulling the
      // character before it along, an opening mark carried to the next line.
      if (l > 0 &&
          (lines[l].front()->text == text || (lines[l].size() > 1 && lines[l][1]->text == text)))
        places.brokeBeside = true;
      if (l + 1 < lines.size() && lines[l].back()->text == text) places.brokeBeside = true;
    }
    EXPECT_EQ(units, line.size()) << "every unit placed once";
  }
  return places;
}

TEST(RubyPageLayout, NoLineBeginsWithAClosingMark) {
  for (const char* mark : {"，", "。", "、", "；", "：", "？", "！", "）", "》", "」",
                           "』", "】", "”",  "’",  "…",  ",",  ".",  "?",  "!",  ")"}) {
    SCOPED_TRACE(mark);
    EXPECT_TRUE(IsClosingPunctuation(mark));
    const MarkPlaces places = PlacesOf(mark);
    EXPECT_FALSE(places.beganALine);
    EXPECT_TRUE(places.brokeBeside);
  }
}

TEST(RubyPageLayout, NoLineEndsWithAnOpeningMark) {
  for (const char* mark : {"（", "《", "「", "『", "【", "“", "‘", "(", "["}) {
    SCOPED_TRACE(mark);
    EXPECT_TRUE(IsOpeningPunctuation(mark));
    const MarkPlaces places = PlacesOf(mark);
    EXPECT_FALSE(places.endedALine);
    EXPECT_TRUE(places.brokeBeside);
  }
  for (const char* plain : {"中", "a", "1", " "}) {
    EXPECT_FALSE(IsOpeningPunctuation(plain)) << plain;
    EXPECT_FALSE(IsClosingPunctuation(plain)) << plain;
  }
}

TEST(RubyPageLayout, ALatinWordAndANumberStayOnOneLineAndUnitsStayWhole) {
  PageDesign design;
  design.paper = PaperSize::A5;
  const QImage device = Device();
  const RubyPageLayout layout(device, design);
  bool brokeBeside = false;
  for (int before = 1; before < 40; ++before) {
    RubyLine line = Repeated({"中", "zhōng"}, before);
    for (const char* letter : {"P", "i", "n", "y", "i", "n"}) line.push_back({letter, ""});
    line.push_back({"和", "hé"});
    for (const char* digit : {"2", "0", "2", "4"}) line.push_back({digit, ""});
    line.push_back({"年", "nián"});
    // A written word: several characters under one reading, one unit.
    line.push_back({"北京", "Běijīng"});
    const std::vector<RubyPage> pages = layout.Layout(Of({line}));
    const auto lines = LinesOf(pages);
    std::vector<QString> texts;
    for (const auto& items : lines) {
      QString text;
      for (const RubyPageItem* item : items) {
        text += item->text;
        texts.push_back(item->text);
      }
      SCOPED_TRACE(text.toStdString());
      // Either the whole word is on the line, or none of it.
      const bool hasLetters = text.contains(QLatin1Char('P')) || text.contains(QLatin1Char('y'));
      if (hasLetters) {
        EXPECT_TRUE(text.contains(QStringLiteral("Pinyin")));
      }
      const bool hasDigits = text.contains(QLatin1Char('0')) || text.contains(QLatin1Char('4'));
      if (hasDigits) {
        EXPECT_TRUE(text.contains(QStringLiteral("2024")));
      }
      if (text.startsWith(QLatin1Char('i')) || text.startsWith(QLatin1Char('0')))
        brokeBeside = true;
    }
    ASSERT_EQ(texts.size(), line.size());
    for (std::size_t i = 0; i < line.size(); ++i) EXPECT_EQ(texts[i].toStdString(), line[i].text);
  }
  EXPECT_FALSE(brokeBeside);
}

TEST(RubyPageLayout, HeadingsStandLargerAndCentred) {
  const QImage device = Device();
  const RubyPageLayout layout(device, PageDesign{});
  Handout handout = Of({Units({{"床", "chuáng"}, {"前", "qián"}})});
  handout.lines.insert(handout.lines.begin(), {Units({{"静", "jìng"}, {"思", "sī"}}), true});
  const std::vector<RubyPage> pages = layout.Layout(handout);
  ASSERT_EQ(pages.size(), 1u);
  const auto lines = LinesOf(pages[0]);
  ASSERT_EQ(lines.size(), 2u);
  const RubyPageItem& heading = *lines[0][0];
  const RubyPageItem& body = *lines[1][0];
  EXPECT_EQ(heading.role, RubyItemRole::Heading);
  EXPECT_EQ(body.role, RubyItemRole::Body);
  EXPECT_GT(heading.textBox.height(), body.textBox.height() * 1.2);
  EXPECT_GT(heading.readingBox.height(), body.readingBox.height() * 1.2);
  EXPECT_GT(layout.FontOf(RubyItemRole::Heading).pointSizeF(),
            layout.FontOf(RubyItemRole::Body).pointSizeF());
  const qreal middle = (lines[0].front()->textBox.left() + lines[0].back()->textBox.right()) / 2;
  EXPECT_NEAR(middle, layout.ContentRect().center().x(), 2);
  // The body is not centred: its first unit begins at the margin.
  EXPECT_NEAR(std::min(body.textBox.left(), body.readingBox.left()), layout.ContentRect().left(),
              4);
}

TEST(RubyPageLayout, ToneColoursGoToTheReadingsOfSingleCharacters) {
  const QImage device = Device();
  const RubyLine line = Units({{"妈", "mā"},
                               {"麻", "má"},
                               {"马", "mǎ"},
                               {"骂", "mà"},
                               {"吗", "ma"},
                               {"长", "zhǎng/cháng"},
                               {"北京", "Běijīng"},
                               {"，", ""}});
  PageDesign design;
  design.toneScheme = ToneColourScheme::Classic;
  const std::vector<RubyPage> pages = RubyPageLayout(device, design).Layout(Of({line}));
  const auto items = LinesOf(pages).at(0);
  ASSERT_EQ(items.size(), line.size());
  for (int tone = 1; tone <= 5; ++tone) {
    SCOPED_TRACE(tone);
    EXPECT_EQ(items[tone - 1]->readingColour,
              QColor(QString::fromStdString(ToneColour(design, tone))));
  }
  EXPECT_FALSE(items[5]->readingColour.isValid());  // every reading of a polyphone
  EXPECT_FALSE(items[6]->readingColour.isValid());  // a written word over two characters

  design.toneScheme = ToneColourScheme::Off;
  const std::vector<RubyPage> uncoloured = RubyPageLayout(device, design).Layout(Of({line}));
  const auto uncolouredItems = LinesOf(uncoloured).at(0);
  for (const RubyPageItem* item : uncolouredItems) EXPECT_FALSE(item->readingColour.isValid());
}

// Whether `image` has, inside `area`, a pixel close to `colour`.
bool HasColour(const QImage& image, const QRect& area, const QColor& colour) {
  for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y)
    for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      if (std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
              std::abs(pixel.blue() - colour.blue()) <
          60)
        return true;
    }
  return false;
}

TEST(RubyPageLayout, PaintingDrawsReadingsInTheirToneColoursAboveBlackCharacters) {
  PageDesign design;
  design.paper = PaperSize::A5;
  design.textSizePt = 28;
  design.toneScheme = ToneColourScheme::Custom;
  design.toneColours = {"#ff0000", "#00c000", "#0000ff", "#ff00ff", "#00c0c0"};
  const qreal dpi = 96;
  QImage page = Device(static_cast<int>(148 / 25.4 * dpi), static_cast<int>(210 / 25.4 * dpi));
  const RubyPageLayout layout(page, design);
  const std::vector<RubyPage> pages =
      layout.Layout(Of({Units({{"妈", "mā"}, {"麻", "má"}, {"马", "mǎ"}, {"骂", "mà"}})}));
  page.fill(Qt::white);
  {
    QPainter painter(&page);
    layout.Paint(painter, pages.at(0));
  }
  const auto items = LinesOf(pages).at(0);
  ASSERT_EQ(items.size(), 4u);
  for (std::size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(i);
    const QColor colour(QString::fromStdString(design.toneColours[i]));
    EXPECT_TRUE(HasColour(page, items[i]->readingBox.toAlignedRect(), colour));
    EXPECT_FALSE(HasColour(page, items[i]->textBox.toAlignedRect(), colour));
    EXPECT_TRUE(HasColour(page, items[i]->textBox.toAlignedRect(), Qt::black));
  }
}

TEST(RubyPageLayout, SomeFaceIsChosenForEmptyNamesAndANamedOneIsKept) {
  PageDesign design;
  EXPECT_FALSE(RubyPageLayout::TextFamily(design).isEmpty());
  EXPECT_FALSE(RubyPageLayout::ReadingFamily(design).isEmpty());
  design.textFont = "Some Face";
  design.readingFont = "Another Face";
  EXPECT_EQ(RubyPageLayout::TextFamily(design), "Some Face");
  EXPECT_EQ(RubyPageLayout::ReadingFamily(design), "Another Face");
  // The sizes follow the design.
  design.textSizePt = 20;
  design.readingPercent = 40;
  const QImage device = Device();
  const RubyPageLayout layout(device, design);
  EXPECT_DOUBLE_EQ(layout.FontOf(RubyItemRole::Body).pointSizeF(), 20);
  EXPECT_DOUBLE_EQ(layout.ReadingFontOf(RubyItemRole::Body).pointSizeF(), 8);
}

TEST(RubyPageLayout, LineSpacingSetsTheDistanceBetweenLines) {
  const QImage device = Device();
  qreal steps[2] = {};
  for (int i = 0; i < 2; ++i) {
    PageDesign design;
    design.lineSpacing = i == 0 ? 1.0 : 2.0;
    const std::vector<RubyPage> pages =
        RubyPageLayout(device, design)
            .Layout(Of({Units({{"中", "zhōng"}}), Units({{"国", "guó"}})}));
    const auto lines = LinesOf(pages);
    ASSERT_EQ(lines.size(), 2u);
    steps[i] = lines[1][0]->textBox.top() - lines[0][0]->textBox.top();
  }
  EXPECT_NEAR(steps[1], 2 * steps[0], 0.01);
}

}  // namespace
}  // namespace tolvane
