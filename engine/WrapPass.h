#pragma once

#include <cstddef>

#include "engine/SourceReader.h"
#include "platform/TextFile.h"

namespace tolvane {

// Every line still to come from `source`, re-cut into pieces of `width` characters (WrapLines),
// written to `out` in the form the source is held in.
void WrapSource(SourceReader& source, std::size_t width, TextFileWriter& out);

}  // namespace tolvane
