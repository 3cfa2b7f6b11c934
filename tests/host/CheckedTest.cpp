#include <gtest/gtest.h>

#include <limits>

#include "host/Checked.h"
#include "support/ErrorOf.h"

using namespace host::checked;

namespace {

using testing_support::ErrorOf;

TEST(CheckedArithmetic, IntegerStepsRaiseOverflowAtTheEdges) {
    EXPECT_EQ(Add32(2147483646, 1), 2147483647);
    EXPECT_EQ(ErrorOf([] { Add32(2147483647, 1); }), host::kOverflow);
    EXPECT_EQ(ErrorOf([] { Sub32(-2147483647 - 1, 1); }), host::kOverflow);
    EXPECT_EQ(ErrorOf([] { Mul32(715827883, 3); }), host::kOverflow);
    EXPECT_EQ(Mul32(-715827882, 3), -2147483646);
    EXPECT_EQ(ErrorOf([] { Add16(32767, 1); }), host::kOverflow);
    EXPECT_EQ(ErrorOf([] { Mul16(-181, 181); }), 0);
    EXPECT_EQ(ErrorOf([] { Mul16(182, 181); }), host::kOverflow);
}

TEST(CheckedArithmetic, ConversionsRoundHalfToEven) {
    EXPECT_EQ(CInt(1234.5), 1234);
    EXPECT_EQ(CInt(1235.5), 1236);
    EXPECT_EQ(CInt(-2.5), -2);
    EXPECT_EQ(CLng(0.49999999), 0);
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(ErrorOf([] { CInt(32767.5); }), host::kOverflow);
    EXPECT_EQ(ErrorOf([] { CInt(-32768.6); }), host::kOverflow);
    EXPECT_EQ(ErrorOf([] { CLng(2147483647.5); }), host::kOverflow);
    EXPECT_EQ(Int32(-0.5), -1);
    EXPECT_EQ(Int32(2.999), 2);
}

TEST(CheckedArithmetic, FloatingPointFailuresRaise) {
    EXPECT_EQ(ErrorOf([] { Div(1.0, 0.0); }), host::kDivisionByZero);
    EXPECT_EQ(ErrorOf([] { Div(0.0, 0.0); }), host::kOverflow);
    EXPECT_EQ(ErrorOf([] { CSng(1e300); }), host::kOverflow);
    EXPECT_EQ(ErrorOf([] { CLng(std::numeric_limits<double>::quiet_NaN()); }), host::kOverflow);
    EXPECT_EQ(CSng(0.1), 0.1f);
    EXPECT_EQ(Div(3255.0, 3135.0), 3255.0 / 3135.0);
}

}  // namespace
