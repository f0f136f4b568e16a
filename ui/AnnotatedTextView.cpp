#include "ui/AnnotatedTextView.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QScrollBar>
#include <algorithm>
#include <unordered_map>

namespace tolvane {
namespace {

// The code points of a UTF-8 text: its bytes that are not continuation bytes.
std::size_t CodePoints(const std::string& utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

QString Q(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Space between units, as a share of the text's size.
constexpr double kGap = 0.18;

}  // namespace

struct AnnotatedTextView::Measured {
  std::shared_ptr<const ViewLine> line;     // kept alive, so its address names it
  std::vector<int> widths;                  // per unit, gap included
  std::vector<std::size_t> firstCodePoint;  // per unit, within the line; one more at the end
};

AnnotatedTextView::AnnotatedTextView(QWidget* parent) : QAbstractScrollArea(parent) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  viewport()->setCursor(Qt::PointingHandCursor);
  QFont font = this->font();
  font.setPointSizeF(std::max(16.0, font.pointSizeF() * 1.6));
  SetTextFont(font);
}

AnnotatedTextView::~AnnotatedTextView() = default;

void AnnotatedTextView::SetTextFont(const QFont& font) {
  textFont_ = font;
  readingFont_ = font;
  readingFont_.setPointSizeF(std::max(10.0, font.pointSizeF() * 0.62));
  const QFontMetrics text(textFont_);
  const QFontMetrics reading(readingFont_);
  readingHeight_ = reading.height();
  rowHeight_ = readingHeight_ + text.height() + text.height() / 3;
  measured_.assign(lines_.size(), nullptr);
  Relayout();
}

void AnnotatedTextView::SetLines(std::vector<PlacedViewLine> lines) {
  std::unordered_map<const ViewLine*, std::shared_ptr<const Measured>> known;
  for (const auto& measured : measured_)
    if (measured) known.emplace(measured->line.get(), measured);
  lines_ = std::move(lines);
  measured_.assign(lines_.size(), nullptr);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto found = known.find(lines_[i].line.get());
    if (found != known.end()) measured_[i] = found->second;
  }
  Relayout();
}

const AnnotatedTextView::Measured& AnnotatedTextView::MeasuredLine(std::size_t index) {
  if (!measured_[index]) {
    auto measured = std::make_shared<Measured>();
    measured->line = lines_[index].line;
    const QFontMetrics text(textFont_);
    const QFontMetrics reading(readingFont_);
    const int gap = static_cast<int>(text.height() * kGap);
    std::size_t at = 0;
    for (const RubyCharacter& unit : measured->line->units) {
      const int width = std::max(text.horizontalAdvance(Q(unit.text)),
                                 unit.reading.empty() || measured->line->pending
                                     ? 0
                                     : reading.horizontalAdvance(Q(unit.reading)));
      measured->widths.push_back(width + gap);
      measured->firstCodePoint.push_back(at);
      at += CodePoints(unit.text);
    }
    measured->firstCodePoint.push_back(at);
    measured_[index] = std::move(measured);
  }
  return *measured_[index];
}

void AnnotatedTextView::Relayout() {
  rows_.clear();
  placed_.clear();
  lineFirstPlaced_.clear();
  const int width = std::max(1, viewport()->width() - 2 * margin_);
  int y = margin_;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Measured& measured = MeasuredLine(i);
    lineFirstPlaced_.push_back(placed_.size());
    Row row{i, 0, 0, y};
    int x = 0;
    for (std::size_t u = 0; u < measured.widths.size(); ++u) {
      const int w = measured.widths[u];
      if (x > 0 && x + w > width) {
        row.endUnit = u;
        rows_.push_back(row);
        y += rowHeight_;
        row = Row{i, u, u, y};
        x = 0;
      }
      placed_.push_back({margin_ + x, w});
      x += w;
    }
    row.endUnit = measured.widths.size();
    rows_.push_back(row);
    y += rowHeight_;
  }
  lineFirstPlaced_.push_back(placed_.size());
  contentHeight_ = y + margin_;
  UpdateScrollBar();
  viewport()->update();
}

void AnnotatedTextView::UpdateScrollBar() {
  QScrollBar* bar = verticalScrollBar();
  bar->setPageStep(viewport()->height());
  bar->setSingleStep(rowHeight_);
  bar->setRange(0, std::max(0, contentHeight_ - viewport()->height()));
}

std::optional<std::pair<std::size_t, std::size_t>> AnnotatedTextView::Locate(
    std::size_t codePoint) const {
  const auto line = std::upper_bound(
      lines_.begin(), lines_.end(), codePoint,
      [](std::size_t cp, const PlacedViewLine& l) { return cp < l.firstCodePoint; });
  if (line == lines_.begin()) return std::nullopt;
  const std::size_t index = static_cast<std::size_t>(line - lines_.begin()) - 1;
  if (index >= measured_.size() || !measured_[index]) return std::nullopt;
  const Measured& measured = *measured_[index];
  const std::size_t within = codePoint - lines_[index].firstCodePoint;
  if (within >= measured.firstCodePoint.back()) return std::nullopt;
  const auto unit =
      std::upper_bound(measured.firstCodePoint.begin(), measured.firstCodePoint.end(), within) - 1;
  return std::make_pair(index, static_cast<std::size_t>(unit - measured.firstCodePoint.begin()));
}

std::optional<QRect> AnnotatedTextView::UnitRect(std::size_t codePoint) const {
  const auto located = Locate(codePoint);
  if (!located) return std::nullopt;
  const auto [line, unit] = *located;
  const auto row = std::find_if(rows_.begin(), rows_.end(), [&](const Row& r) {
    return r.line == line && unit >= r.firstUnit && unit < r.endUnit;
  });
  if (row == rows_.end()) return std::nullopt;
  const Placed& placed = placed_[lineFirstPlaced_[line] + unit];
  return QRect(placed.x, row->y - verticalScrollBar()->value(), placed.width, rowHeight_);
}

std::optional<std::size_t> AnnotatedTextView::CodePointAt(const QPoint& point) const {
  const int y = point.y() + verticalScrollBar()->value();
  const auto row = std::upper_bound(rows_.begin(), rows_.end(), y,
                                    [](int value, const Row& r) { return value < r.y; });
  if (row == rows_.begin()) return std::nullopt;
  const Row& r = *(row - 1);
  if (y >= r.y + rowHeight_) return std::nullopt;
  const Measured& measured = *measured_[r.line];
  for (std::size_t u = r.firstUnit; u < r.endUnit; ++u) {
    const Placed& placed = placed_[lineFirstPlaced_[r.line] + u];
    if (point.x() < placed.x || point.x() >= placed.x + placed.width) continue;
    const std::size_t count = measured.firstCodePoint[u + 1] - measured.firstCodePoint[u];
    const std::size_t share = std::min(
        count - 1, static_cast<std::size_t>((point.x() - placed.x) * static_cast<int>(count) /
                                            std::max(1, placed.width)));
    return lines_[r.line].firstCodePoint + measured.firstCodePoint[u] + share;
  }
  return std::nullopt;
}

void AnnotatedTextView::EnsureVisible(std::size_t codePoint) {
  const auto rect = UnitRect(codePoint);
  if (!rect) return;
  QScrollBar* bar = verticalScrollBar();
  if (rect->top() < 0) bar->setValue(bar->value() + rect->top());
  if (rect->bottom() > viewport()->height())
    bar->setValue(bar->value() + rect->bottom() - viewport()->height());
}

void AnnotatedTextView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const int top = verticalScrollBar()->value();
  const int bottom = top + viewport()->height();
  auto row = std::upper_bound(rows_.begin(), rows_.end(), top,
                              [](int value, const Row& r) { return value < r.y; });
  if (row != rows_.begin()) --row;
  const QFontMetrics textMetrics(textFont_);
  const QColor ink = palette().color(QPalette::Text);
  const QColor chosen(0x1a, 0x5f, 0xb4);
  const QColor faint = palette().color(QPalette::PlaceholderText);
  const QColor readingInk = palette().color(QPalette::Text).lighter(140);
  for (; row != rows_.end() && row->y < bottom; ++row) {
    const ViewLine& line = *lines_[row->line].line;
    const int y = row->y - top;
    for (std::size_t u = row->firstUnit; u < row->endUnit; ++u) {
      const Placed& placed = placed_[lineFirstPlaced_[row->line] + u];
      const RubyCharacter& unit = line.units[u];
      const unsigned char mark =
          u < line.marks.size() ? line.marks[u] : static_cast<unsigned char>(ViewLine::kPlain);
      const QRect readingBox(placed.x, y, placed.width, readingHeight_);
      const QRect textBox(placed.x, y + readingHeight_, placed.width, textMetrics.height());
      if (!line.pending && !unit.reading.empty()) {
        painter.setFont(readingFont_);
        painter.setPen(mark & ViewLine::kChosen ? chosen : readingInk);
        painter.drawText(readingBox, Qt::AlignHCenter | Qt::AlignBottom, Q(unit.reading));
      }
      painter.setFont(textFont_);
      painter.setPen(line.pending ? faint : (mark & ViewLine::kChosen ? chosen : ink));
      painter.drawText(textBox, Qt::AlignHCenter | Qt::AlignVCenter, Q(unit.text));
      if (mark & ViewLine::kUnsettled) {
        QPen dots(QColor(0xc0, 0x6c, 0x00));
        dots.setStyle(Qt::DotLine);
        dots.setWidth(std::max(1, textMetrics.height() / 16));
        painter.setPen(dots);
        const int underline = textBox.bottom() + 1;
        const int inset = placed.width / 8;
        painter.drawLine(placed.x + inset, underline, placed.x + placed.width - inset, underline);
      }
    }
  }
}

void AnnotatedTextView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  Relayout();
}

void AnnotatedTextView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  const QPoint point = event->position().toPoint();
  if (const auto codePoint = CodePointAt(point))
    emit characterClicked(*codePoint, viewport()->mapToGlobal(point));
}

}  // namespace tolvane
