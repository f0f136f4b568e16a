#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tolvane::test {

// GB2312 bytes of a UTF-8 literal, so tests can be written in readable Chinese.
std::string Gb(std::string_view textUtf8);

// UTF-8 of GB2312 bytes, for readable failure messages.
std::string Utf8(std::string_view textGb);

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& path);

// The repository's data/ folder (define_py_tone.dll, the sample text).
std::filesystem::path SourceDataFolder();
// The build's program folder (executables and data files side by side).
std::filesystem::path BuildProgramFolder();

// Links the shipped tone glyphs, the three phrase-data files and the polyphone model into
// `folder`, so that a session started there reads by context as an installed copy does.
void LinkShippedReadingData(const std::filesystem::path& folder);

}  // namespace tolvane::test
