#include "frontend/TargetNaming.h"

#include <cctype>
#include <string>

namespace tolvane {

std::filesystem::path DeriveTargetPath(const std::filesystem::path& source) {
  static const std::string kSuffix = "_拼音";
  const auto utf8 = source.u8string();
  const std::string text(utf8.begin(), utf8.end());
  const std::size_t nameStart = text.find_last_of(
      std::string("/") + static_cast<char>(std::filesystem::path::preferred_separator));
  const std::size_t nameBegin = nameStart == std::string::npos ? 0 : nameStart + 1;
  const std::size_t dot = text.rfind('.');
  std::string result = text;
  if (dot != std::string::npos && dot >= nameBegin) {
    result.insert(dot, kSuffix);
  } else {
    result += kSuffix;
  }
  return std::filesystem::path(std::u8string(result.begin(), result.end()));
}

bool IsHtmlTarget(const std::filesystem::path& target) {
  std::string extension = target.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".html" || extension == ".htm";
}

}  // namespace tolvane
