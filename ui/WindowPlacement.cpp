#include "ui/WindowPlacement.h"

#include <QWidget>

namespace tolvane {

void CentreOverOwner(QWidget& window) {
  const QWidget* parent = window.parentWidget();
  if (parent == nullptr) return;
  QRect frame = window.frameGeometry();
  frame.moveCenter(parent->window()->frameGeometry().center());
  window.move(frame.topLeft());
}

void UseFixedDialogFrame(QWidget& window) {
  window.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                        Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  window.setFixedSize(window.size());
}

}  // namespace tolvane
