#pragma once

#include <filesystem>
#include <memory>

#include "ui/CustomReadingEditor.h"

namespace Ui {
class TfrmWeiHan;
}

namespace tolvane {

// The editor of the Wade-Giles and Hong Kong/Taiwan readings (WadeGiles dictionary): the custom
// reading editor in its own designed layout, created hidden at start-up and shown modally from the
// 字库 menu.
class TfrmWeiHan : public CustomReadingEditor {
  Q_OBJECT

 public:
  TfrmWeiHan(QWidget* parent, Dialogs& dialogs, Session& session, FileLocations locations);
  ~TfrmWeiHan() override;

 private:
  std::unique_ptr<Ui::TfrmWeiHan> ui;
};

}  // namespace tolvane
