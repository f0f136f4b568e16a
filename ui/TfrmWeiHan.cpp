#include "ui/TfrmWeiHan.h"

#include "reading/shared/DataFiles.h"
#include "ui_TfrmWeiHan.h"

namespace tolvane {

TfrmWeiHan::TfrmWeiHan(QWidget* parent, Dialogs& dialogs, Session& session, FileLocations locations)
    : CustomReadingEditor(
          parent, dialogs, session, std::move(locations),
          {&ReadingData::WadeGilesDictionary, kWadeGilesKeysFile, kWadeGilesReadingsFile}),
      ui(std::make_unique<Ui::TfrmWeiHan>()) {
  ui->setupUi(this);
  Attach({ui->edt_han, ui->edt_pinyin, ui->btn_add, ui->btn_search, ui->btn_del, ui->btn_clear,
          ui->ListBox_define_han},
         QSize(259, 583));
}

TfrmWeiHan::~TfrmWeiHan() = default;

}  // namespace tolvane
