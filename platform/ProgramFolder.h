#pragma once

#include <filesystem>

namespace tolvane {

// The folder of the running executable: data files, settings and the scratch file live there.
// The working directory plays no part.
std::filesystem::path ProgramFolder();

}  // namespace tolvane
