// Our PNG writer against libpng's decode: every pixel of every picture comes back exactly, whatever
// its width, row order and filter choice, and libpng and pngcheck find nothing to say of the file.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ScreenshotPicture.h"
#include "platform/codec/PngFilters.h"
#include "platform/codec/PngRowCosts.h"
#include "platform/codec/PngWriter.h"
#include "support/ParamName.h"
#include "support/PngRead.h"
#include "support/TempHome.h"
#include "support/TestPictures.h"

namespace {

using platform::PngFilterChoice;
using platform::PngResult;
using testing_support::Picture;

// The picture as the buffer holds it, and the writer's view of it.
struct Rows {
    std::vector<std::uint8_t> bytes;
    platform::PngPicture picture;
    Rows(const Picture& p, bool bottomUp)
        : bytes(testing_support::DibRows(p, bottomUp)),
          picture{bytes.data(), std::uint32_t(p.width), std::uint32_t(p.height),
                  std::size_t(testing_support::DibPitch(p.width)), bottomUp} {}
};

// Empty when the file decodes to exactly the picture, with nothing for libpng to warn of; else what
// went wrong.
std::string RoundTrip(const Picture& p, bool bottomUp, PngFilterChoice choice) {
    const Rows rows(p, bottomUp);
    const platform::PngFile png = platform::EncodePng(rows.picture, choice);
    const std::string size = std::to_string(p.width) + "x" + std::to_string(p.height) + ": ";
    if (png.result != PngResult::kOk) return size + "result " + std::to_string(int(png.result));
    std::vector<std::string> refusal;
    const auto read = testing_support::ReadPngFile(png.bytes, &refusal);
    if (!read) return size + "libpng refuses it: " + (refusal.empty() ? "" : refusal.back());
    if (!read->warnings.empty()) return size + "libpng warns: " + read->warnings.front();
    if (read->width != std::uint32_t(p.width) || read->height != std::uint32_t(p.height))
        return size + "sizes";
    if (read->interlace != 0 || !read->srgb) return size + "interlaced or no sRGB";
    for (std::size_t i = 0; i < p.rgb.size(); ++i)
        if (read->rgb[i] != p.rgb[i])
            return size + "pixel " + std::to_string(i / 3 % p.width) + "," + std::to_string(i / 3 / p.width);
    return "";
}

Picture Flat(int width, int height) {
    Picture p = testing_support::Blank(width, height);
    for (std::size_t i = 0; i < p.rgb.size(); i += 3) p.rgb[i] = 200, p.rgb[i + 1] = 120, p.rgb[i + 2] = 30;
    return p;
}

struct RoundTripCase {
    const char* name;
    std::function<Picture(int, int)> make;
    PngFilterChoice choice;
    bool bottomUp;
};

class PngWriterRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

// Widths 1 to 70 reach every row padding and every place a pixel can end in a vector; the heights
// give a first row alone, odd counts, and rows enough for every filter type to be chosen.
TEST_P(PngWriterRoundTrip, EveryPixelComesBack) {
    const RoundTripCase& c = GetParam();
    for (int width = 1; width <= 70; ++width)
        for (int height : {1, 3, 17}) {
            const std::string fault = RoundTrip(c.make(width, height), c.bottomUp, c.choice);
            ASSERT_EQ(fault, "");
        }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PngWriterRoundTrip,
    ::testing::Values(
        RoundTripCase{"Flat", Flat, PngFilterChoice::kAdaptive, true},
        RoundTripCase{"Noise", testing_support::Noise, PngFilterChoice::kAdaptive, true},
        RoundTripCase{"Gradient", testing_support::Gradient, PngFilterChoice::kAdaptive, true},
        RoundTripCase{"ScreenLike", testing_support::ScreenLike, PngFilterChoice::kAdaptive, true},
        RoundTripCase{"GradientTopDown", testing_support::Gradient, PngFilterChoice::kAdaptive, false},
        RoundTripCase{"NoiseUpOnly", testing_support::Noise, PngFilterChoice::kUp, true},
        RoundTripCase{"ScreenLikeUpOnly", testing_support::ScreenLike, PngFilterChoice::kUp, true}),
    testing_support::ByName);

Picture FromImage(const QImage& image) {
    Picture p = testing_support::Blank(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            std::uint8_t* px = p.At(x, y);
            px[0] = std::uint8_t(qRed(line[x])), px[1] = std::uint8_t(qGreen(line[x])),
            px[2] = std::uint8_t(qBlue(line[x]));
        }
    }
    return p;
}

TEST(PngWriter, AScreenshotComesBackWithItsChunksInOrder) {
    const Picture p = FromImage(bench_support::ScreenshotPicture().convertToFormat(QImage::Format_RGB32));
    ASSERT_EQ(RoundTrip(p, true, platform::kPngFilterChoice), "");
    const Rows rows(p, true);
    const platform::PngFile png = platform::EncodePng(rows.picture);
    EXPECT_EQ(testing_support::ChunkTypes(png.bytes),
              (std::vector<std::string>{"IHDR", "sRGB", "IDAT", "IEND"}));
    EXPECT_LT(png.bytes.size(), p.rgb.size() / 4);  // a screen grab deflates well
}

// pngcheck reads every chunk, checksum and the image data on its own terms.
TEST(PngWriter, PngcheckFindsNothing) {
    testing_support::TempHome home;
    for (const Picture& p :
         {testing_support::ScreenLike(333, 201), testing_support::Noise(1, 1), Flat(64, 9)}) {
        const Rows rows(p, true);
        ASSERT_EQ(platform::WritePng(rows.picture, "C:\\checked.png"), PngResult::kOk);
        const std::string command = "pngcheck -q '" + (home / "checked.png") + "' >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << p.width << "x" << p.height;
    }
}

// A row made so that one filter type is clearly cheapest is filtered with that type, and our own
// decoder's unfiltering gives the row back.
struct ChoiceCase {
    const char* name;
    std::uint8_t type;
    std::function<std::uint8_t(int x, int channel)> row, above;
};

class PngWriterChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(PngWriterChoice, PicksTheCheapestTypeAndItUndoes) {
    const ChoiceCase& c = GetParam();
    constexpr int kPixels = 40;
    // The unfiltering reads one byte past the filtered row and past the row above.
    std::vector<std::uint8_t> row(kPixels * 3), above(kPixels * 3 + 1), out(kPixels * 3 + 2),
        restored(kPixels * 3);
    for (int x = 0; x < kPixels; ++x)
        for (int ch = 0; ch < 3; ++ch) row[x * 3 + ch] = c.row(x, ch), above[x * 3 + ch] = c.above(x, ch);
    EXPECT_EQ(
        platform::FilterRow(PngFilterChoice::kAdaptive, row.data(), above.data(), row.size(), out.data()),
        c.type);
    EXPECT_EQ(out[0], c.type);
    ASSERT_TRUE(platform::Unfilter(out[0], {out.data() + 1, restored.data()}, above.data(), row.size(), 3));
    EXPECT_EQ(restored, row);
}

INSTANTIATE_TEST_SUITE_P(
    Types, PngWriterChoice,
    ::testing::Values(
        ChoiceCase{"NoneForDarkNoise", 0, [](int x, int ch) { return std::uint8_t((x * 7 + ch * 3) % 5); },
                   [](int x, int) { return std::uint8_t(x * 37); }},
        ChoiceCase{"SubForAFlatRowUnderNoise", 1, [](int, int ch) { return std::uint8_t(150 + ch); },
                   [](int x, int ch) { return std::uint8_t(x * 53 + ch * 91); }},
        ChoiceCase{"UpForTheRowAbove", 2, [](int x, int ch) { return std::uint8_t(x * 53 + ch * 91); },
                   [](int x, int ch) { return std::uint8_t(x * 53 + ch * 91 + 1); }},
        ChoiceCase{"AverageForTheMeanOfLeftAndAbove", 3,
                   [](int x, int ch) {
                       int mean = 0;  // each byte the mean of the one to its left and the noise above
                       for (int k = 0; k <= x; ++k)
                           mean = (mean + std::uint8_t(k * k * 7 + k * 53 + ch * 91)) >> 1;
                       return std::uint8_t(mean);
                   },
                   [](int x, int ch) { return std::uint8_t(x * x * 7 + x * 53 + ch * 91); }},
        ChoiceCase{
            "PaethForTheRowAboveThenAFlatRun", 4,
            [](int x, int ch) { return x < 20 ? std::uint8_t(x * 53 + ch * 91) : std::uint8_t(200); },
            [](int x, int ch) { return x < 20 ? std::uint8_t(x * 53 + ch * 91) : std::uint8_t(100); }}),
    testing_support::ByName);

// The vectorised costs are the plain ones, whatever the row's length (every tail of a 16-byte step)
// and bytes (runs of 128, where a signed byte's absolute value has no signed form).
TEST(PngRowCosts, VectorisedAndPlainAgree) {
    std::mt19937 random(5);
    for (int round = 0; round < 3000; ++round) {
        const std::size_t length = 3 * (1 + random() % 120);
        std::vector<std::uint8_t> row(length), above(length);
        for (std::size_t i = 0; i < length; ++i) {
            const unsigned kind = round % 3, r = unsigned(random());
            row[i] = std::uint8_t(kind == 0 ? r : kind == 1 ? 126 + r % 4 : (r & 1) * 255);
            above[i] = std::uint8_t(kind == 0 ? r >> 8 : kind == 1 ? 126 + (r >> 8) % 4 : (r >> 8 & 1) * 128);
        }
        platform::PngRowCosts vectorised;
        if (!platform::RowCostsVectorised(row.data(), above.data(), length, vectorised))
            GTEST_SKIP() << "this processor has no vectorised costs";
        ASSERT_EQ(vectorised, platform::RowCostsPlain(row.data(), above.data(), length))
            << "length " << length;
    }
}

struct Refusal {
    const char* name;
    std::function<void(platform::PngPicture&)> spoil;
};

class PngWriterRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(PngWriterRefusals, SayTheyCannotAndWriteNothing) {
    testing_support::TempHome home;
    const Rows rows(testing_support::Gradient(8, 8), true);
    platform::PngPicture picture = rows.picture;
    GetParam().spoil(picture);
    EXPECT_EQ(platform::EncodePng(picture).result, PngResult::kInvalidPicture);
    EXPECT_EQ(platform::WritePng(picture, "C:\\a.png"), PngResult::kInvalidPicture);
    EXPECT_TRUE(std::filesystem::is_empty(home.Path()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PngWriterRefusals,
    ::testing::Values(Refusal{"NoPixels", [](platform::PngPicture& p) { p.bits = nullptr; }},
                      Refusal{"NoWidth", [](platform::PngPicture& p) { p.width = 0; }},
                      Refusal{"NoHeight", [](platform::PngPicture& p) { p.height = 0; }},
                      Refusal{"RowsShorterThanTheirPixels", [](platform::PngPicture& p) { p.pitch = 23; }},
                      Refusal{"MoreThanOneChunkHolds",
                              [](platform::PngPicture& p) {
                                  p.width = 0x10000000, p.pitch = 0x30000000, p.height = 8;
                              }}),
    testing_support::ByName);

TEST(PngWriter, FileNamesThatNameNoPlaceAreRefused) {
    testing_support::TempHome home;
    const Rows rows(testing_support::Gradient(8, 8), true);
    EXPECT_EQ(platform::WritePng(rows.picture, ""), PngResult::kInvalidFileName);
    EXPECT_EQ(platform::WritePng(rows.picture, nullptr), PngResult::kInvalidFileName);
    EXPECT_EQ(platform::WritePng(rows.picture, "\\\\server\\share\\a.png"), PngResult::kInvalidFileName);
    EXPECT_EQ(platform::WritePng(rows.picture, "C:\\Nowhere\\a.png"), PngResult::kWriteFailed);
    EXPECT_TRUE(std::filesystem::is_empty(home.Path()));
}

}  // namespace
