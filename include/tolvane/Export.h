#pragma once

// Marks what the shared library exports. Everything else in it is the library's own business.
#if defined(_WIN32)
#define TOLVANE_API
#else
#define TOLVANE_API __attribute__((visibility("default")))
#endif
