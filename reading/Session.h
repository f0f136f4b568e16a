#pragma once

#include <filesystem>
#include <memory>
#include <mutex>

#include "reading/ReadingData.h"

namespace tolvane {

// The one owner of the loaded data of a program (the window, a CLI run, a test). Its operations
// are those of the data files and the built-in tables; each publishes a new snapshot
// (ReadingData) in place of the current one. Whoever took a snapshot keeps reading it, unchanged,
// however the session changes meanwhile: a run in progress finishes with the data it started
// with, and the next one sees the new data. Safe to use from several threads.
class Session {
 public:
  // Starts with no data files loaded and the built-in tables empty.
  Session();

  // Loads the five data files: the dictionaries from `folders.dictionaries`, the tone glyphs from
  // `folders.readOnly`. A missing file gives an empty list. A file that exists but cannot be read
  // raises "Cannot open file "%s". %s"; the lists loaded before it keep their content and the
  // others are empty, so all five lists exist either way.
  void LoadDataFiles(const DataFolders& folders);
  // All five from one folder (a portable copy's program folder; tests and --data-dir).
  void LoadDataFiles(const std::filesystem::path& folder);
  // Empties the five lists.
  void ReleaseDataFiles();
  // ReleaseDataFiles, then LoadDataFiles from the folders of the last load.
  void ReloadDataFiles();
  // Fill the built-in tables; calling either again changes nothing.
  void InitNumberedTable();
  void InitPlainTable();

  // The current snapshot.
  std::shared_ptr<const ReadingData> Data() const;
  // The folder of the dictionaries of the last LoadDataFiles.
  std::filesystem::path DataFilesFolder() const;

 private:
  // Publishes a snapshot that differs from the current one by what `change` does to its parts.
  template <typename Change>
  void Publish(Change&& change);

  mutable std::mutex mutex_;
  std::shared_ptr<const ReadingData> data_;
};

// The start-up of the loaded data, in its order: the data files, then the two built-in tables.
// A failure stops it where it happened, as every start-up step does.
void StartSession(Session& session, const DataFolders& folders);
void StartSession(Session& session, const std::filesystem::path& folder);

}  // namespace tolvane
