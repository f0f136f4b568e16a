#include "ui/RubyPageLayout.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRawFont>
#include <algorithm>
#include <array>
#include <string_view>

#include "platform/UnicodeText.h"

namespace tolvane {
namespace {

constexpr qreal kPointsPerInch = 72;
constexpr qreal kMmPerInch = 25.4;
// Headings stand this much larger than the text, with this share of a row after them.
constexpr qreal kHeadingScale = 1.4;
constexpr qreal kAfterHeading = 0.4;
// Page numbers: their size against the text's, and the room they need in the bottom margin, in
// their own rows.
constexpr qreal kNumberScale = 0.75;
constexpr qreal kNumberRoom = 1.6;

// Closing marks never begin a line; opening marks never end one (the line-breaking rules of
// Chinese typesetting, with the ASCII and full-width Latin marks beside them).
constexpr std::u32string_view kClosing =
    U"，。、；：？！）》」』】〕〗〙〛〉”’…—～·．,.;:?!)]}％＇＂｝］〞︶︺︾﹀﹄﹚﹜﹞々〃ー";
constexpr std::u32string_view kOpening = U"（《「『【〔〖〘〚〈“‘([{｛［〝﹙﹛﹝￥＄";

// The vowels of pinyin with their tone marks: a reading face must hold all of them.
constexpr std::u32string_view kPinyinLetters = U"aāáǎàeēéěèiīíǐìoōóǒòuūúǔùüǖǘǚǜg";
constexpr std::u32string_view kChineseLetters = U"中拼音读";

char32_t FirstCodePoint(std::string_view utf8) {
  if (utf8.empty()) return 0;
  return unicode::CodePointAt(utf8, 0, unicode::CharLengthAt(utf8, 0));
}

char32_t LastCodePoint(std::string_view utf8) {
  if (utf8.empty()) return 0;
  std::size_t pos = utf8.size() - 1;
  while (pos > 0 && (static_cast<unsigned char>(utf8[pos]) & 0xC0) == 0x80) --pos;
  return unicode::CodePointAt(utf8, pos, unicode::CharLengthAt(utf8, pos));
}

// Letters and digits of Latin script: a word of them stays on one line where it fits.
bool IsLatinWordCharacter(char32_t cp) {
  return (cp >= U'0' && cp <= U'9') || (cp >= U'a' && cp <= U'z') || (cp >= U'A' && cp <= U'Z') ||
         (cp >= 0xC0 && cp <= 0x24F && cp != 0xD7 && cp != 0xF7) ||
         (cp >= 0xFF10 && cp <= 0xFF19) || (cp >= 0xFF21 && cp <= 0xFF3A) ||
         (cp >= 0xFF41 && cp <= 0xFF5A);
}

bool IsSpace(std::string_view unit) {
  return unit == " " || unit == "\t" || unit == "\xE3\x80\x80";  // U+3000 too
}

// Whether a line may break between two neighbouring units.
bool MayBreakBetween(const RubyCharacter& before, const RubyCharacter& after) {
  if (IsClosingPunctuation(after.text) || IsOpeningPunctuation(before.text)) return false;
  return !(IsLatinWordCharacter(LastCodePoint(before.text)) &&
           IsLatinWordCharacter(FirstCodePoint(after.text)));
}

bool HoldsAll(const QString& family, std::u32string_view letters) {
  QFont font(family);
  font.setPixelSize(32);
  const QRawFont raw = QRawFont::fromFont(font);
  if (!raw.isValid() || raw.familyName().compare(family, Qt::CaseInsensitive) != 0) return false;
  return std::all_of(letters.begin(), letters.end(),
                     [&](char32_t cp) { return raw.supportsCharacter(static_cast<uint>(cp)); });
}

// The first of `preferred` that is installed and holds `letters`, else the first installed
// family of `system` that does, else empty.
QString FirstFaceHolding(std::initializer_list<const char*> preferred, std::u32string_view letters,
                         QFontDatabase::WritingSystem system) {
  const QStringList installed = QFontDatabase::families();
  for (const char* name : preferred) {
    const QString family = QString::fromUtf8(name);
    if (installed.contains(family, Qt::CaseInsensitive) && HoldsAll(family, letters)) return family;
  }
  for (const QString& family : QFontDatabase::families(system))
    if (HoldsAll(family, letters)) return family;
  return {};
}

QPageSize PageSizeOf(PaperSize paper) {
  switch (paper) {
    case PaperSize::A5:
      return QPageSize(QPageSize::A5);
    case PaperSize::Letter:
      return QPageSize(QPageSize::Letter);
    case PaperSize::A4:
      break;
  }
  return QPageSize(QPageSize::A4);
}

QFont SizedFont(const QString& family, qreal points) {
  QFont font(family);
  font.setPointSizeF(std::max<qreal>(points, 1));
  return font;
}

// Widths of texts in one font, each measured once: a book repeats its few thousand characters
// and syllables hundreds of times.
class WidthCache {
 public:
  WidthCache(const QFont& font, const QPaintDevice& device)
      : metrics_(font, const_cast<QPaintDevice*>(&device)) {}
  qreal operator()(const QString& text) {
    if (text.isEmpty()) return 0;
    const auto found = widths_.constFind(text);
    if (found != widths_.constEnd()) return *found;
    const qreal width = metrics_.horizontalAdvance(text);
    widths_.insert(text, width);
    return width;
  }
  qreal Height() const { return metrics_.height(); }

 private:
  QFontMetricsF metrics_;
  QHash<QString, qreal> widths_;
};

// One unit as it is placed: its index in the line and its left edge.
struct Placed {
  std::size_t unit;
  qreal left;
};

}  // namespace

bool IsClosingPunctuation(std::string_view unitUtf8) {
  return kClosing.find(FirstCodePoint(unitUtf8)) != std::u32string_view::npos;
}

bool IsOpeningPunctuation(std::string_view unitUtf8) {
  return kOpening.find(LastCodePoint(unitUtf8)) != std::u32string_view::npos;
}

QString RubyPageLayout::TextFamily(const PageDesign& design) {
  if (!design.textFont.empty()) return QString::fromStdString(design.textFont);
  const QString found = FirstFaceHolding(
      {"Noto Serif CJK SC", "Source Han Serif SC", "Source Han Serif CN", "Noto Sans CJK SC",
       "Source Han Sans SC", "Source Han Sans CN", "AR PL UMing CN", "AR PL SungtiL GB",
       "WenQuanYi Zen Hei", "WenQuanYi Micro Hei", "Droid Sans Fallback", "SimSun", "NSimSun",
       "Microsoft YaHei"},
      kChineseLetters, QFontDatabase::SimplifiedChinese);
  return found.isEmpty() ? QFont().family() : found;
}

QString RubyPageLayout::ReadingFamily(const PageDesign& design) {
  if (!design.readingFont.empty()) return QString::fromStdString(design.readingFont);
  // Schoolbook faces first: their a and g are written as children learn to write them.
  const QString found =
      FirstFaceHolding({"Andika", "Andika New Basic", "Andika Compact", "URW Gothic",
                        "TeX Gyre Adventor", "Century Gothic", "Noto Sans", "DejaVu Sans",
                        "Liberation Sans", "Nimbus Sans", "Open Sans", "Arial", "Helvetica"},
                       kPinyinLetters, QFontDatabase::Latin);
  return found.isEmpty() ? TextFamily(design) : found;
}

RubyPageLayout::RubyPageLayout(const QPaintDevice& device, const PageDesign& design)
    : design_(design), device_(device) {
  const PaperMm paper = PaperSizeMm(design.paper);
  const qreal dpiX = device.logicalDpiX();
  const qreal dpiY = device.logicalDpiY();
  paper_ = QRectF(0, 0, paper.width / kMmPerInch * dpiX, paper.height / kMmPerInch * dpiY);
  const qreal marginX = design.marginMm / kMmPerInch * dpiX;
  const qreal marginY = design.marginMm / kMmPerInch * dpiY;
  content_ = paper_.adjusted(marginX, marginY, -marginX, -marginY);

  const QString textFamily = TextFamily(design);
  const QString readingFamily = ReadingFamily(design);
  const qreal size = design.textSizePt;
  const qreal readingSize = size * design.readingPercent / 100.0;
  textFont_ = SizedFont(textFamily, size);
  readingFont_ = SizedFont(readingFamily, readingSize);
  headingFont_ = SizedFont(textFamily, size * kHeadingScale);
  headingFont_.setBold(true);
  headingReadingFont_ = SizedFont(readingFamily, readingSize * kHeadingScale);
  numberFont_ = SizedFont(readingFamily, size * kNumberScale);
  gap_ = design.syllableGap * readingSize / kPointsPerInch * dpiX;
  headingGap_ = gap_ * kHeadingScale;

  if (design.pageNumbers) {
    // The number needs its room in the bottom margin; a narrow margin gives up some page.
    const qreal room =
        QFontMetricsF(numberFont_, const_cast<QPaintDevice*>(&device)).height() * kNumberRoom;
    content_.setBottom(std::min(content_.bottom(), paper_.bottom() - room));
  }
  if (content_.width() < 1) content_.setWidth(1);
  if (content_.height() < 1) content_.setHeight(1);
}

const QFont& RubyPageLayout::FontOf(RubyItemRole role) const {
  switch (role) {
    case RubyItemRole::Heading:
      return headingFont_;
    case RubyItemRole::PageNumber:
      return numberFont_;
    case RubyItemRole::Body:
      break;
  }
  return textFont_;
}

const QFont& RubyPageLayout::ReadingFontOf(RubyItemRole role) const {
  return role == RubyItemRole::Heading ? headingReadingFont_ : readingFont_;
}

std::vector<RubyPage> RubyPageLayout::Layout(const Handout& handout) const {
  // Metrics in the device's own units: a printer's or a PDF writer's resolution, or a screen's.
  std::array<WidthCache, 2> texts{WidthCache(textFont_, device_),
                                  WidthCache(headingFont_, device_)};
  std::array<WidthCache, 2> readings{WidthCache(readingFont_, device_),
                                     WidthCache(headingReadingFont_, device_)};

  std::vector<RubyPage> pages(1);
  qreal y = content_.top();
  const auto startRow = [&](qreal height) {
    if (y > content_.top() && y + height > content_.bottom()) {
      pages.emplace_back();
      y = content_.top();
    }
  };

  for (const HandoutLine& line : handout.lines) {
    const std::size_t kind = line.heading ? 1 : 0;
    const RubyItemRole role = line.heading ? RubyItemRole::Heading : RubyItemRole::Body;
    const qreal gap = line.heading ? headingGap_ : gap_;
    const qreal readingHeight = readings[kind].Height();
    const qreal textHeight = texts[kind].Height();
    const qreal rows = readingHeight + textHeight;
    const qreal step = rows * design_.lineSpacing;
    const RubyLine& units = line.units;
    if (units.empty()) {
      // An empty line keeps its place, except at the top of a page.
      if (y > content_.top()) y += step;
      continue;
    }

    std::vector<QString> text(units.size());
    std::vector<QString> reading(units.size());
    std::vector<qreal> textWidth(units.size());
    std::vector<qreal> readingWidth(units.size());
    std::vector<qreal> width(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
      text[i] = QString::fromStdString(units[i].text);
      reading[i] = QString::fromStdString(units[i].reading);
      textWidth[i] = texts[kind](text[i]);
      readingWidth[i] = readings[kind](reading[i]);
      width[i] = std::max(textWidth[i], reading[i].isEmpty() ? 0 : readingWidth[i] + 2 * gap);
    }

    std::vector<Placed> placed;
    qreal x = 0;
    const auto flush = [&] {
      startRow(rows);
      const qreal lineWidth = placed.empty() ? 0 : x;
      const qreal indent =
          line.heading ? std::max<qreal>(0, (content_.width() - lineWidth) / 2) : 0;
      for (const Placed& each : placed) {
        const std::size_t i = each.unit;
        RubyPageItem item;
        item.role = role;
        item.text = text[i];
        item.reading = reading[i];
        const qreal centre = content_.left() + indent + each.left + width[i] / 2;
        item.textBox =
            QRectF(centre - textWidth[i] / 2, y + readingHeight, textWidth[i], textHeight);
        if (!item.reading.isEmpty()) {
          item.readingBox = QRectF(centre - readingWidth[i] / 2, y, readingWidth[i], readingHeight);
          // A unit of one character has one syllable to colour; the readings of a written word
          // or of every reading of a polyphone stand in the text colour.
          if (unicode::CharLengthAt(units[i].text, 0) == units[i].text.size() &&
              units[i].reading.find('/') == std::string::npos) {
            const std::string colour = ToneColour(design_, ToneOfSyllable(units[i].reading));
            if (!colour.empty()) item.readingColour = QColor(QString::fromStdString(colour));
          }
        }
        pages.back().items.push_back(std::move(item));
      }
      y += step;
      placed.clear();
      x = 0;
    };
    const auto place = [&](std::size_t i) {
      // A space that a line would begin with is left out: the break stands for it.
      if (placed.empty() && IsSpace(units[i].text)) return;
      placed.push_back({i, x});
      x += width[i];
    };

    // Runs of units that no break may part, each placed whole where it fits; a run wider than
    // a whole line is broken between any two units.
    std::size_t begin = 0;
    while (begin < units.size()) {
      std::size_t end = begin + 1;
      qreal runWidth = width[begin];
      while (end < units.size() && !MayBreakBetween(units[end - 1], units[end]))
        runWidth += width[end++];
      if (!placed.empty() && x + runWidth > content_.width()) flush();
      for (std::size_t i = begin; i < end; ++i) {
        if (!placed.empty() && x + width[i] > content_.width()) flush();
        place(i);
      }
      begin = end;
    }
    if (!placed.empty()) flush();
    if (line.heading) y += textHeight * kAfterHeading;
  }

  if (design_.pageNumbers) {
    const QFontMetricsF metrics(numberFont_, const_cast<QPaintDevice*>(&device_));
    const qreal centreY = (content_.bottom() + paper_.bottom()) / 2;
    for (std::size_t i = 0; i < pages.size(); ++i) {
      RubyPageItem number;
      number.role = RubyItemRole::PageNumber;
      number.text = QString::number(i + 1);
      const qreal width = metrics.horizontalAdvance(number.text);
      number.textBox = QRectF(paper_.center().x() - width / 2, centreY - metrics.height() / 2,
                              width, metrics.height());
      pages[i].items.push_back(std::move(number));
    }
  }
  return pages;
}

void RubyPageLayout::Paint(QPainter& painter, const RubyPage& page) const {
  // Drawn at the baseline rather than aligned in a box: the boxes are the font's own heights,
  // and text set at a point takes Qt's quickest path, which counts in a book of many pages.
  const QColor ink(Qt::black);
  const QFont* current = nullptr;
  qreal ascent = 0;
  QHash<const QFont*, qreal> ascents;
  const auto use = [&](const QFont& font) {
    if (current == &font) return;
    current = &font;
    painter.setFont(font);
    auto found = ascents.find(&font);
    if (found == ascents.end())
      found =
          ascents.insert(&font, QFontMetricsF(font, const_cast<QPaintDevice*>(&device_)).ascent());
    ascent = *found;
  };
  for (const RubyPageItem& item : page.items) {
    use(FontOf(item.role));
    painter.setPen(ink);
    painter.drawText(QPointF(item.textBox.left(), item.textBox.top() + ascent), item.text);
    if (item.reading.isEmpty()) continue;
    use(ReadingFontOf(item.role));
    painter.setPen(item.readingColour.isValid() ? item.readingColour : ink);
    painter.drawText(QPointF(item.readingBox.left(), item.readingBox.top() + ascent), item.reading);
  }
}

int RubyPageLayout::Print(QPagedPaintDevice& device, const Handout& handout,
                          const PageDesign& design) {
  // The whole paper is the device's page; the margins are the layout's. A printer that cannot
  // print to the edge keeps its own margins and the paper size alone is set.
  const QPageSize size = PageSizeOf(design.paper);
  if (!device.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF())))
    device.setPageSize(size);
  const RubyPageLayout layout(device, design);
  const std::vector<RubyPage> pages = layout.Layout(handout);
  QPainter painter(&device);
  // The painter's origin lies at the device's printable area; move it to the paper's corner.
  painter.translate(-device.pageLayout().paintRectPixels(device.logicalDpiX()).topLeft());
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (i > 0) device.newPage();
    layout.Paint(painter, pages[i]);
  }
  painter.end();
  return static_cast<int>(pages.size());
}

}  // namespace tolvane
