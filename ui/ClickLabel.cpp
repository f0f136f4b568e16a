#include "ui/ClickLabel.h"

#include <QMouseEvent>

namespace tolvane {

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  // A press that the user drags off the label before releasing is no click.
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
}

}  // namespace tolvane
