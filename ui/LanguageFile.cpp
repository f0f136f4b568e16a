#include "ui/LanguageFile.h"

#include <array>

#include "platform/TextFile.h"

namespace tolvane {
namespace {

constexpr std::array<LanguageCaption, 11> kCaptions = {{
    {"btnopen", "打开", "Open"},
    {"btnOk", "执行", "Start"},
    {"N1", "文件", "File"},
    {"N2", "打开中文文件", "Open"},
    {"N3", "拼音文件保存为", "Save as"},
    {"N5", "退出", "Exit"},
    {"N6", "帮助", "Help"},
    {"N7", "使用说明", "Content"},
    {"N8", "在线帮助", "Online help"},
    {"N10", "关于", "About"},
    {kMainWindowName, "Quenmar", "Ostrevin v2.0.1"},
}};

}  // namespace

int LanguageFlagFromLines(const std::vector<std::string>& lines) {
  return !lines.empty() && lines.front() == "en" ? kEnglish : kChinese;
}

int ReadLanguageFlag(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return kChinese;
  return LanguageFlagFromLines(ReadTextLines(path));
}

void WriteLanguageFile(const std::filesystem::path& path, int language) {
  WriteTextLines(path, {language == kEnglish ? "en" : "ch"});
}

std::span<const LanguageCaption> LanguageCaptions() { return kCaptions; }

}  // namespace tolvane
