#pragma once

#include <filesystem>
#include <string>

#include "platform/TextEncoding.h"

namespace tolvane {

// A source file's text as a conversion reads it (any encoding it detects, GB2312 and UTF-16
// among them), in UTF-8 with its lines joined by LF, for proofreading. A byte that is no
// character stands as U+FFFD. Raises the reading error naming the file.
std::string SourceTextUtf8(const std::filesystem::path& source,
                           EncodingChoice choice = EncodingChoice::Auto);

}  // namespace tolvane
