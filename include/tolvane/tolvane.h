#pragma once

// Tolvane's library: Chinese text to Hanyu Pinyin. See Converter.
#include "tolvane/Converter.h"
#include "tolvane/Error.h"
#include "tolvane/Options.h"
