#pragma once

#include <QLabel>

namespace tolvane {

// A label that reports a click: a left-button press and release over it.
class ClickLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ClickLabel(QWidget* parent = nullptr) : QLabel(parent) {}

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace tolvane
