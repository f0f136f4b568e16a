#pragma once

#include "settings/ConversionSettings.h"
#include "tolvane/Options.h"

namespace tolvane {

// The settings a conversion reads for the library's options, as tolvane-cli's convert makes
// them from the same options. Raises Error for options that cannot go together: the
// orthography reads by context, so it cannot go with Policy::First or Policy::All, and a wrap
// width cannot be negative.
ConversionSettings SettingsOf(const Options& options);

}  // namespace tolvane
