// The integration harness's checks, one line per fact, each failure saying
// what was expected and what came; spelled here as the reliability suites
// use them.
#pragma once

#include "Checks.h"

namespace reliability {
using host::CheckEqual;
using host::CheckTrue;
using host::Describe;
using host::FailureCount;
using host::Quote;
using host::ReportFailure;
}  // namespace reliability

#define EXPECT_EQUAL(expected, actual, what) CHECK_EQ((expected), (actual), (what))
#define EXPECT_TRUE(condition, what, detail) CHECK((condition), (what), (detail))
