// The window of an installed copy: read-only data in one folder, the user's files in the user's
// folders, which it makes when it first writes to them.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <set>

#include "WindowTestSupport.h"
#include "platform/FileLocations.h"
#include "reading/shared/DataFiles.h"
#include "ui/LanguageFile.h"
#include "ui/SettingsFile.h"
#include "ui/TfrmHan.h"
#include "ui/TfrmMain.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using test::Child;
using test::Gb;
using test::GbLines;
using test::Q;
using test::ReadBytes;
using test::ScriptedDialogs;
using test::TempDir;
using test::TestProgramFolder;

std::set<std::string> FilesIn(const fs::path& folder) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (!entry.is_directory()) files.insert(fs::relative(entry.path(), folder).string());
  return files;
}

class InstalledCopy : public ::testing::Test {
 protected:
  InstalledCopy() {
    where.data = shared.path();
    where.settings = home / ".config" / "tolvane";
    where.dictionaries = home / ".local" / "share" / "tolvane";
    where.scratch = home / ".cache" / "tolvane";
    where.installed = true;
  }
  QString Preview(TfrmMain& window) const {
    Child<QRadioButton>(window, "RadioButton_num").setChecked(true);
    Child<QLineEdit>(window, "edt_input").setText(Q("字"));
    Child<QPushButton>(window, "btn_pinyin").click();
    return Child<QPlainTextEdit>(window, "Memo_output").toPlainText();
  }

  TestProgramFolder shared;  // the read-only data, as share/tolvane holds it
  TempDir home;
  FileLocations where;
  ScriptedDialogs dialogs;
};

TEST_F(InstalledCopy, KeepsSettingsAndDictionariesInTheUsersFoldersAndNothingBesideItsData) {
  const std::set<std::string> sharedFiles = FilesIn(shared.path());
  {
    TfrmMain window(where, dialogs);
    window.CreateHiddenWindows();
    EXPECT_TRUE(dialogs.errorTexts.empty());
    EXPECT_GT(window.ReadingSession().Data()->ToneVowelList().size(), 0u)
        << "the glyphs come from the read-only data";
    EXPECT_EQ(ReadBytes(where.settings / kLanguageFileName), "ch\r\n");

    // A reading of the user's own, added in the standard editor.
    TfrmHan& editor = *window.findChild<TfrmHan*>();
    Child<QLineEdit>(editor, "edt_han").setText(Q("字"));
    Child<QLineEdit>(editor, "edt_pinyin").setText("Zi");
    Child<QPushButton>(editor, "btn_add").click();
    EXPECT_TRUE(dialogs.errorTexts.empty());
    EXPECT_EQ(ReadBytes(where.dictionaries / kStandardKeysFile), GbLines({"字"}));
    EXPECT_EQ(ReadBytes(where.dictionaries / kStandardReadingsFile), "Zi\r\n");
    EXPECT_EQ(Preview(window), "Zi\n" + Q("字"));
    EXPECT_TRUE(window.close());
  }
  EXPECT_TRUE(fs::exists(where.settings / kSettingsFileName));
  EXPECT_EQ(FilesIn(shared.path()), sharedFiles) << "nothing is written beside the data";
  EXPECT_FALSE(fs::exists(where.scratch)) << "made only when a run re-cuts lines";

  // The next start reads them back from there.
  TfrmMain again(where, dialogs);
  EXPECT_TRUE(Child<QRadioButton>(again, "RadioButton_num").isChecked());
  EXPECT_EQ(again.ReadingSession().Data()->StandardDictionary().FindReading(Gb("字")), "Zi");
}

TEST_F(InstalledCopy, AFolderThatCannotBeMadeIsReportedWhenTheSettingsAreSaved) {
  test::WriteBytes(home / ".config", "a file where the folder should be");
  TfrmMain window(where, dialogs);
  ASSERT_FALSE(dialogs.errorTexts.empty());
  EXPECT_TRUE(dialogs.errorTexts.front().contains(Q("Cannot create folder")))
      << dialogs.errorTexts.front().toStdString();
}

}  // namespace
}  // namespace tolvane
