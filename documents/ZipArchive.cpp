#include "documents/ZipArchive.h"

#include <zip.h>

#include <memory>

#include "platform/Error.h"

namespace tolvane {
namespace {

std::string OpenErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

Error ArchiveError(const std::filesystem::path& path, const std::string& reason) {
  return Error("Cannot write " + path.string() + ": " + reason, path);
}

struct ArchiveCloser {
  void operator()(zip* archive) const { zip_discard(archive); }
};
using ReadArchive = std::unique_ptr<zip, ArchiveCloser>;

ReadArchive OpenForReading(const std::filesystem::path& path) {
  int code = 0;
  zip* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
  if (archive == nullptr)
    throw Error("Cannot read " + path.string() + ": " + OpenErrorText(code), path);
  return ReadArchive(archive);
}

}  // namespace

ZipWriter::ZipWriter(const std::filesystem::path& path) : path_(path) {
  int code = 0;
  archive_ = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (archive_ == nullptr) throw ArchiveError(path, OpenErrorText(code));
}

ZipWriter::~ZipWriter() {
  if (archive_ != nullptr) zip_discard(archive_);
}

void ZipWriter::Add(std::string_view name, std::string content, bool stored) {
  const std::string& held = contents_.emplace_back(std::move(content));
  zip_source_t* source = zip_source_buffer(archive_, held.data(), held.size(), 0);
  if (source == nullptr) throw ArchiveError(path_, zip_strerror(archive_));
  const zip_int64_t index =
      zip_file_add(archive_, std::string(name).c_str(), source, ZIP_FL_ENC_UTF_8);
  if (index < 0) {
    zip_source_free(source);
    throw ArchiveError(path_, zip_strerror(archive_));
  }
  if (zip_set_file_compression(archive_, static_cast<zip_uint64_t>(index),
                               stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0) != 0)
    throw ArchiveError(path_, zip_strerror(archive_));
}

void ZipWriter::Close() {
  if (zip_close(archive_) != 0) {
    const std::string reason = zip_strerror(archive_);
    zip_discard(archive_);
    archive_ = nullptr;
    throw ArchiveError(path_, reason);
  }
  archive_ = nullptr;
  contents_.clear();
}

std::vector<std::string> ZipEntryNames(const std::filesystem::path& path) {
  const ReadArchive archive = OpenForReading(path);
  std::vector<std::string> names;
  const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i)
    names.emplace_back(zip_get_name(archive.get(), static_cast<zip_uint64_t>(i), 0));
  return names;
}

std::string ReadZipEntry(const std::filesystem::path& path, std::string_view name) {
  const ReadArchive archive = OpenForReading(path);
  zip_stat_t stat;
  if (zip_stat(archive.get(), std::string(name).c_str(), 0, &stat) != 0)
    throw Error("Cannot read " + path.string() + ": no entry " + std::string(name), path);
  zip_file_t* file = zip_fopen(archive.get(), std::string(name).c_str(), 0);
  if (file == nullptr)
    throw Error("Cannot read " + path.string() + ": " + zip_strerror(archive.get()), path);
  std::string bytes(stat.size, '\0');
  const zip_int64_t read = zip_fread(file, bytes.data(), bytes.size());
  zip_fclose(file);
  if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size)
    throw Error("Cannot read " + path.string() + ": entry " + std::string(name) + " is damaged",
                path);
  return bytes;
}

}  // namespace tolvane
