#pragma once

#include <filesystem>

namespace tolvane {

// How the front ends name and read a target from its path.

// The target path derived from a chosen source: "_拼音" in front of the extension dot of the
// file name, or at the end of a file name without one.
std::filesystem::path DeriveTargetPath(const std::filesystem::path& source);

// Whether a target's name asks for the HTML page: it ends in .html or .htm, in any case.
bool IsHtmlTarget(const std::filesystem::path& target);

}  // namespace tolvane
