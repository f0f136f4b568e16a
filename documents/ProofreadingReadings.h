#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "reading/LineReadings.h"

namespace tolvane {

// The readings a reader may choose for one character (UTF-8), as numbered syllables: reading by
// context's own reading of it first, then every reading the built-in tables know, each once.
// Empty for a character nobody reads.
std::vector<std::string> ReadingsToChooseFrom(LineReadings& readings, std::string_view character);

}  // namespace tolvane
