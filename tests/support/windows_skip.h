#pragma once

#include <gtest/gtest.h>

// Skips the rest of a test in the Windows build, for what Windows (or Wine
// running it) cannot provide; `why` says what.
#ifdef _WIN32
#define QV_SKIP_ON_WINDOWS(why) GTEST_SKIP() << why
#else
#define QV_SKIP_ON_WINDOWS(why) \
  do {                          \
  } while (false)
#endif
