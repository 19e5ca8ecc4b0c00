#pragma once

// Marks the classes and functions that make up the library's interface; everything
// else is compiled with hidden visibility.
#if defined(__GNUC__) || defined(__clang__)
#define PLINTH_API __attribute__((visibility("default")))
#else
#define PLINTH_API
#endif
