#pragma once

#include <filesystem>
#include <memory>

#include "ui/CustomReadingEditor.h"

namespace Ui {
class TfrmHan;
}

namespace tolvane {

// The editor of the standard mainland readings (Standard dictionary): the custom reading editor
// in its own designed layout, created hidden at start-up and shown modally from the 字库 menu.
class TfrmHan : public CustomReadingEditor {
  Q_OBJECT

 public:
  TfrmHan(QWidget* parent, Dialogs& dialogs, Session& session, FileLocations locations);
  ~TfrmHan() override;

 private:
  std::unique_ptr<Ui::TfrmHan> ui;
};

}  // namespace tolvane
