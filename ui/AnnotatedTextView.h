#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QRect>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "engine/RubyLine.h"

namespace tolvane {

// One line of annotated text as the view shows it: its units (a character, or a written word)
// and a mark per unit.
struct ViewLine {
  enum Mark : unsigned char {
    kPlain = 0,
    kChosen = 1,     // the reader chose this reading
    kUnsettled = 2,  // a polyphone the context did not settle
  };
  RubyLine units;
  std::vector<unsigned char> marks;  // one per unit; missing means plain
  bool pending = false;              // not annotated yet: the characters stand bare
};

// A line in its place: the code point index of its first character in the whole text.
struct PlacedViewLine {
  std::shared_ptr<const ViewLine> line;
  std::size_t firstCodePoint = 0;
};

// Annotated text painted as the reader sees it on a page: each reading centred over its
// characters, the units flowing in rows that wrap at the widget's width, a line of the text
// starting a new row. Only the rows in sight are painted, and a line's units are measured once
// (the lines are shared and a line that did not change is the same object), so a long text costs
// little to update. Clicking a character reports its place in the text.
class AnnotatedTextView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit AnnotatedTextView(QWidget* parent = nullptr);
  ~AnnotatedTextView() override;

  void SetLines(std::vector<PlacedViewLine> lines);
  const std::vector<PlacedViewLine>& Lines() const { return lines_; }
  void SetTextFont(const QFont& font);

  // Where the unit holding the character at `codePoint` is drawn, in the viewport's coordinates
  // (as scrolled now); none for a place no unit holds (a line end, past the text).
  std::optional<QRect> UnitRect(std::size_t codePoint) const;
  // The character under a point of the viewport: the code point of the text, or none. In a
  // written word, the character under the point's column share of the word.
  std::optional<std::size_t> CodePointAt(const QPoint& point) const;
  // Scrolls so the unit of `codePoint` is in sight.
  void EnsureVisible(std::size_t codePoint);
  // The height of all rows at the current width.
  int ContentHeight() const { return contentHeight_; }

 signals:
  // A character was clicked: its code point in the text and the point on the screen.
  void characterClicked(std::size_t codePoint, QPoint globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  struct Measured;  // a line's unit widths
  struct Placed {   // a unit placed in a row
    int x;
    int width;
  };
  struct Row {
    std::size_t line;
    std::size_t firstUnit;
    std::size_t endUnit;
    int y;
  };
  void Relayout();
  void UpdateScrollBar();
  const Measured& MeasuredLine(std::size_t line);
  // The row and unit of a code point.
  std::optional<std::pair<std::size_t, std::size_t>> Locate(std::size_t codePoint) const;

  std::vector<PlacedViewLine> lines_;
  std::vector<std::shared_ptr<const Measured>> measured_;  // parallel to lines_
  std::vector<Row> rows_;
  std::vector<Placed> placed_;  // every unit of every line, in order
  std::vector<std::size_t> lineFirstPlaced_;
  QFont textFont_;
  QFont readingFont_;
  int rowHeight_ = 0;
  int readingHeight_ = 0;
  int contentHeight_ = 0;
  int margin_ = 8;
};

}  // namespace tolvane
