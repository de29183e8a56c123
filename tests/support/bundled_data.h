#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

namespace qv::test {

// Whether the tests run under continuous integration (CI set and not empty).
inline bool runningUnderCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && *ci != '\0';
}

}  // namespace qv::test

// Tests that read the data bundled beside the repository (captures, the OUI
// listing) skip without it on a developer's machine; under CI a missing folder
// is a failure, so that those tests cannot silently stop running. Use at the
// top of a test body or SetUp; `where` names what is missing.
#define QV_REQUIRE_BUNDLED_DATA(present, where)                                     \
  do {                                                                              \
    if (!(present)) {                                                               \
      if (::qv::test::runningUnderCi()) GTEST_FAIL() << "bundled data missing: " << where; \
      GTEST_SKIP() << "no bundled data: " << where;                                 \
    }                                                                               \
  } while (false)
