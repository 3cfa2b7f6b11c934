#pragma once
// A test base that checks that every bitmap and device context the test made is gone again when
// it ends: the graphics handle table must be empty.

#include <gtest/gtest.h>

#include "platform/gdi/HandleTable.h"

template <class Base = ::testing::Test>
class GdiLeakCheckOf : public Base {
protected:
    void TearDown() override {
        EXPECT_EQ(platform::GdiObjectsAlive(), 0u) << "graphics objects are still alive after the test";
    }
};

using GdiLeakCheck = GdiLeakCheckOf<>;
