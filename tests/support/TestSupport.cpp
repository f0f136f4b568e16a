#include "support/TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/Cp936.h"
#include "reading/shared/DataFiles.h"

namespace tolvane::test {

std::string Gb(std::string_view textUtf8) { return cp936::EncodeFromUtf8(textUtf8); }

std::string Utf8(std::string_view textGb) { return cp936::DecodeToUtf8(textGb); }

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tolvane-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::string bytes(std::filesystem::file_size(path), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

std::filesystem::path SourceDataFolder() {
  return std::filesystem::path(TOLVANE_SOURCE_DIR) / "data";
}

std::filesystem::path BuildProgramFolder() { return TOLVANE_PROGRAM_DIR; }

void LinkShippedReadingData(const std::filesystem::path& folder) {
  for (const char* file : {kToneVowelFile, kContextWordsFile, kContextPairsFile,
                           kContextCharactersFile, kPolyphoneModelFile, kProperNounsFile})
    std::filesystem::create_symlink(SourceDataFolder() / file, folder / file);
}

}  // namespace tolvane::test
