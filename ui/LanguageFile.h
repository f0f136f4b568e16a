#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <vector>

// The interface language: config.db holds "en" or "ch"; only an exact "en" on the first line
// selects English. Free of the GUI so it can be tested without a screen.
namespace tolvane {

inline constexpr const char* kLanguageFileName = "config.db";

// The language flag: one byte, 1 for English; every other value means Chinese.
inline constexpr int kEnglish = 1;
inline constexpr int kChinese = 0;

// The flag that the lines of config.db select.
int LanguageFlagFromLines(const std::vector<std::string>& lines);

// The flag of the file at `path`: Chinese when no file exists there. A file that exists but
// cannot be read raises the text-file error.
int ReadLanguageFlag(const std::filesystem::path& path);

// Creates or truncates the file and writes the one line "en" or "ch" with CR LF.
void WriteLanguageFile(const std::filesystem::path& path, int language);

// One caption that follows the language, keyed by the control's name; the window's own title
// is keyed by the window class name. Texts are UTF-8 for the GUI.
struct LanguageCaption {
  const char* control;
  const char* chineseUtf8;
  const char* englishUtf8;
};

inline constexpr const char* kMainWindowName = "TfrmMain";

// The captions in the order in which they are set.
std::span<const LanguageCaption> LanguageCaptions();

// The caption of `caption` for `language`.
inline const char* CaptionFor(const LanguageCaption& caption, int language) {
  return language == kEnglish ? caption.englishUtf8 : caption.chineseUtf8;
}

}  // namespace tolvane
