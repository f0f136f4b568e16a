#pragma once

#include <QDialog>

namespace tolvane {

// The usage-notes window, shown, not modally, from the Help menu. For now an empty window with its
// caption, created hidden at start-up; its controls and behaviour come with a later change.
class TfrmNote : public QDialog {
 public:
  explicit TfrmNote(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfrmNote"));
    setWindowTitle(QStringLiteral("使用说明"));
  }
};

}  // namespace tolvane
