// The row conversions give the bytes a plain loop gives, for every row length around the widths
// of their vectorised steps, and write nothing past the row; the fastest path this processor runs
// and the plain one alike.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/picture/Cpu.h"
#include "platform/picture/PixelRows.h"
#include "support/CodePaths.h"
#include "support/ParamName.h"

namespace {

using Convert = void (*)(const std::uint8_t*, std::uint8_t*, std::size_t);

struct Conversion {
    const char* name;
    Convert convert;
    int sourceBytes;
    bool swap;  // red and blue change places
};

class RowConversion : public ::testing::TestWithParam<std::tuple<Conversion, testing_support::CodePath>> {};

TEST_P(RowConversion, GivesBlueGreenRedForEveryLengthAndStopsAtTheRowsEnd) {
    const auto& [c, path] = GetParam();
    const platform::CpuLimit limit(path.allowed);
    for (std::size_t pixels = 0; pixels <= 70; ++pixels) {
        std::vector<std::uint8_t> source(pixels * c.sourceBytes);
        for (std::size_t i = 0; i < source.size(); ++i) source[i] = std::uint8_t(i * 37 + 11);
        std::vector<std::uint8_t> row(pixels * 3 + 16, 0xCD);
        c.convert(source.data(), row.data(), pixels);
        for (std::size_t x = 0; x < pixels; ++x) {
            const std::uint8_t* from = &source[x * c.sourceBytes];
            ASSERT_EQ(row[3 * x], from[c.swap ? 2 : 0]) << pixels << " pixels, pixel " << x;
            ASSERT_EQ(row[3 * x + 1], from[1]) << pixels << " pixels, pixel " << x;
            ASSERT_EQ(row[3 * x + 2], from[c.swap ? 0 : 2]) << pixels << " pixels, pixel " << x;
        }
        for (std::size_t i = pixels * 3; i < row.size(); ++i) ASSERT_EQ(row[i], 0xCD) << pixels << " pixels";
    }
}

INSTANTIATE_TEST_SUITE_P(
    All, RowConversion,
    ::testing::Combine(::testing::Values(Conversion{"RgbToBgr", platform::RgbToBgr, 3, true},
                                         Conversion{"RgbaToBgr", platform::RgbaToBgr, 4, true},
                                         Conversion{"BgrxToBgr", platform::BgrxToBgr, 4, false}),
                       testing_support::kCodePaths),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) + std::get<1>(info.param).name;
    });

}  // namespace
