#pragma once
// The two ways the routines with a fast path can run, for tests that run them both ways and check
// the same bytes come out: the fastest path this processor offers, and the plain C++ one.

#include <gtest/gtest.h>

#include "platform/picture/Cpu.h"

namespace testing_support {

struct CodePath {
    const char* name;
    platform::CpuFeatures allowed;  // for platform::CpuLimit
};

inline const auto kCodePaths =
    ::testing::Values(CodePath{"FastestPath", {true, true, true}}, CodePath{"PlainPath", {}});

}  // namespace testing_support
