#include <gtest/gtest.h>

#include "capture/AdvanceNumber.h"
#include "host/HostError.h"
#include "support/ParamName.h"

namespace {

struct Step {
    const char* before;
    const char* after;
};

std::string StepName(const ::testing::TestParamInfo<Step>& info) {
    return "From" + testing_support::ParamName(info.param.before) + "To" +
           testing_support::ParamName(info.param.after);
}

class Advancing : public ::testing::TestWithParam<Step> {};

TEST_P(Advancing, CarriesFromTheRight) {
    QString number = QString::fromUtf8(GetParam().before);
    AdvanceNumber(number);
    EXPECT_EQ(number, QString::fromUtf8(GetParam().after));
}

INSTANTIATE_TEST_SUITE_P(Cases, Advancing,
                         ::testing::Values(Step{"000", "001"}, Step{"008", "009"}, Step{"009", "010"},
                                           Step{"099", "100"}, Step{"123", "124"}, Step{"899", "900"},
                                           Step{"998", "999"}, Step{"999", "000"}, Step{"1234", "1244"},
                                           Step{"a19", "a20"}),
                         StepName);

class NotANumber : public ::testing::TestWithParam<Step> {};

TEST_P(NotANumber, RaisesTypeMismatchAndKeepsTheCarrySoFar) {
    QString number = QString::fromUtf8(GetParam().before);
    try {
        AdvanceNumber(number);
        FAIL() << "no error for " << GetParam().before;
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), host::kTypeMismatch);
    }
    EXPECT_EQ(number, QString::fromUtf8(GetParam().after));
}

INSTANTIATE_TEST_SUITE_P(Cases, NotANumber,
                         ::testing::Values(Step{"12", "12"}, Step{"", ""}, Step{"1a9", "1a0"},
                                           Step{"00x", "00x"}, Step{"0 9", "0 0"}, Step{"x99", "x00"}),
                         StepName);

}  // namespace
