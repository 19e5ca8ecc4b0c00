#pragma once

// Marks the classes and functions that make up the library's interface; everything
// else is compiled with hidden visibility.
// Threads: one object is used by one thread at a time; distinct objects are independent.
#if defined(__GNUC__) || defined(__clang__)
#define PLINTH_API __attribute__((visibility("default")))
#else
#define PLINTH_API
#endif
