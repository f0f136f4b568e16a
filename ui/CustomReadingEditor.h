#pragma once

#include <QDialog>
#include <QSize>
#include <filesystem>

#include "platform/FileLocations.h"
#include "reading/Session.h"
#include "reading/shared/CustomDictionary.h"
#include "reading/shared/DictionaryFile.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QResizeEvent;
class QShowEvent;

namespace tolvane {

class Dialogs;

// The dictionary an editor maintains: how to read it once loaded, and its two files.
struct EditedDictionary {
  const CustomDictionary& (ReadingData::*dictionary)() const;
  const char* keysFile;
  const char* readingsFile;
};

// The custom reading editor, in which users add, update, search, delete and clear their own
// readings. TfrmHan and TfrmWeiHan are this one editor over their own dictionaries, each with
// its designed layout. Every change rewrites the dictionary's two files and reloads all data
// files, so the next preview or conversion uses it.
//
// Files edited by hand may differ in their numbers of lines; the editor then works on every line
// of both, a missing key or reading being empty (see EntriesOf), and its next write gives both
// files the same length.
class CustomReadingEditor : public QDialog {
  Q_OBJECT

 public:
  // The window's outer size: its frame where the platform draws one, else the widget itself.
  QSize OuterSize() const;
  const EditedDictionary& Edited() const { return edited_; }

  // Event handlers, connected by Attach.
  void FormCreate();
  void FormResize();
  void ListBox_define_hanClick();
  void edt_hanChange();
  void btn_addClick();
  void btn_delClick();
  void btn_clearClick();
  void btn_searchClick();

 protected:
  // The controls that the handlers use, as the window's layout created them.
  struct Controls {
    QLineEdit* edt_han;
    QLineEdit* edt_pinyin;
    QPushButton* btn_add;
    QPushButton* btn_search;
    QPushButton* btn_del;
    QPushButton* btn_clear;
    QListWidget* ListBox_define_han;
  };

  // `locations.dictionaries` holds the dictionary files; `session` holds them loaded and is
  // reloaded after every change; `dialogs` and `session` outlive the window.
  CustomReadingEditor(QWidget* parent, Dialogs& dialogs, Session& session, FileLocations locations,
                      EditedDictionary edited);

  // Called by the concrete window once its layout exists: sets the outer size, connects the
  // handlers and runs FormCreate.
  void Attach(const Controls& controls, QSize outerSize);

  void resizeEvent(QResizeEvent* event) override;
  // Shown, the window is centred over the main window.
  void showEvent(QShowEvent* event) override;

 private:
  template <typename Handler>
  void Guarded(Handler&& handler);
  // The dictionary's entries as the session has them loaded now.
  DictionaryEntries Entries() const;
  void FillList();
  // Selects a line by program: unlike the user's selection, it leaves the text fields alone.
  void SelectLine(std::size_t line);
  // The selected line, or -1.
  int SelectedLine() const;
  void SaveAndReload(const DictionaryEntries& entries);

  Dialogs& dialogs_;
  Session& session_;
  FileLocations locations_;
  EditedDictionary edited_;
  Controls controls_{};
};

}  // namespace tolvane
