#include "reading/Session.h"

namespace tolvane {
namespace {

// A snapshot's parts, taken apart to be changed and put together again.
struct Parts {
  DataFolders folders;
  DataFileLists lists;
  bool numberedFilled = false;
  bool plainFilled = false;
  std::shared_ptr<PhraseDataLoader> context;
};

Parts PartsOf(const ReadingData& data) {
  return {data.Folders(), data.Lists(), data.NumberedFilled(), data.PlainFilled(),
          data.ContextLoader()};
}

// The phrase data is kept when the folder it comes from stays the same: it does not change with
// the user's dictionaries, and loading it again would cost every reload a tenth of a second.
std::shared_ptr<PhraseDataLoader> LoaderFor(const std::shared_ptr<PhraseDataLoader>& current,
                                            const std::filesystem::path& folder) {
  if (current && current->Folder() == folder) return current;
  return std::make_shared<PhraseDataLoader>(folder);
}

}  // namespace

Session::Session()
    : data_(std::make_shared<const ReadingData>(DataFolders{}, DataFileLists{}, false, false,
                                                std::make_shared<PhraseDataLoader>(""))) {}

template <typename Change>
void Session::Publish(Change&& change) {
  std::lock_guard lock(mutex_);
  Parts parts = PartsOf(*data_);
  // A change that fails part-way still publishes what it did: the lists read before a failing
  // file keep their content.
  const auto publish = [&] {
    data_ = std::make_shared<const ReadingData>(std::move(parts.folders), std::move(parts.lists),
                                                parts.numberedFilled, parts.plainFilled,
                                                std::move(parts.context));
  };
  try {
    change(parts);
  } catch (...) {
    publish();
    throw;
  }
  publish();
}

void Session::LoadDataFiles(const std::filesystem::path& folder) {
  LoadDataFiles(DataFolders{folder, folder});
}

void Session::LoadDataFiles(const DataFolders& folders) {
  Publish([&](Parts& parts) {
    parts.folders = folders;
    parts.lists = {};
    parts.context = LoaderFor(parts.context, folders.readOnly);
    ReadDataFileLists(folders, parts.lists);
  });
}

void Session::ReleaseDataFiles() {
  Publish([](Parts& parts) { parts.lists = {}; });
}

void Session::ReloadDataFiles() {
  const DataFolders folders = Data()->Folders();
  ReleaseDataFiles();
  LoadDataFiles(folders);
}

void Session::InitNumberedTable() {
  Publish([](Parts& parts) { parts.numberedFilled = true; });
}

void Session::InitPlainTable() {
  Publish([](Parts& parts) { parts.plainFilled = true; });
}

std::shared_ptr<const ReadingData> Session::Data() const {
  std::lock_guard lock(mutex_);
  return data_;
}

std::filesystem::path Session::DataFilesFolder() const { return Data()->Folders().dictionaries; }

void StartSession(Session& session, const DataFolders& folders) {
  session.LoadDataFiles(folders);
  session.InitNumberedTable();
  session.InitPlainTable();
}

void StartSession(Session& session, const std::filesystem::path& folder) {
  StartSession(session, DataFolders{folder, folder});
}

}  // namespace tolvane
