// Contract checks for the fuzz targets: a broken contract aborts, so
// libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: contract broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (0)

// True when the wide buffer holds a terminator inside its capacity.
inline bool terminated_within(const wchar_t* buffer, int capacity) {
  for (int i = 0; i < capacity; ++i)
    if (buffer[i] == 0) return true;
  return false;
}

// Fills a buffer with a non-zero pattern so that a function which forgets to
// terminate its output is caught.
inline void poison(wchar_t* buffer, int capacity) {
  for (int i = 0; i < capacity; ++i) buffer[i] = static_cast<wchar_t>(0x2A2A);
}
