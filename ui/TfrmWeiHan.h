#pragma once

#include <QDialog>

namespace tolvane {

// The editor of the Wade-Giles custom readings, shown modally from the 字库 menu. For now an empty
// window with its caption, created hidden at start-up; its controls and behaviour come with a later
// change.
class TfrmWeiHan : public QDialog {
 public:
  explicit TfrmWeiHan(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfrmWeiHan"));
    setWindowTitle(QStringLiteral("自定义韦氏港台拼音"));
  }
};

}  // namespace tolvane
