#include "tolvane/Version.h"
#include "tolvane/Converter.h"

namespace tolvane {

const char* Version() { return kVersion; }

}  // namespace tolvane
