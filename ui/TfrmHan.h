#pragma once

#include <QDialog>

namespace tolvane {

// The editor of the standard custom readings, shown modally from the 字库 menu. For now an empty
// window with its caption, created hidden at start-up; its controls and behaviour come with a later
// change.
class TfrmHan : public QDialog {
 public:
  explicit TfrmHan(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfrmHan"));
    setWindowTitle(QStringLiteral("自定义标准拼音"));
  }
};

}  // namespace tolvane
