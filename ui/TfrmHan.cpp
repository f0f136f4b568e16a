#include "ui/TfrmHan.h"

#include "reading/shared/DataFiles.h"
#include "ui_TfrmHan.h"

namespace tolvane {

TfrmHan::TfrmHan(QWidget* parent, Dialogs& dialogs, Session& session, FileLocations locations)
    : CustomReadingEditor(
          parent, dialogs, session, std::move(locations),
          {&ReadingData::StandardDictionary, kStandardKeysFile, kStandardReadingsFile}),
      ui(std::make_unique<Ui::TfrmHan>()) {
  ui->setupUi(this);
  Attach({ui->edt_han, ui->edt_pinyin, ui->btn_add, ui->btn_search, ui->btn_del, ui->btn_clear,
          ui->ListBox_define_han},
         QSize(264, 583));
}

TfrmHan::~TfrmHan() = default;

}  // namespace tolvane
