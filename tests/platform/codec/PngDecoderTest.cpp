// PNG pictures against the toolkit's decode: every kind of PNG that libpng writes becomes the
// picture the toolkit gives (made opaque), whether our decoder takes it (what screens give) or
// declines it, and a broken file is refused exactly when the toolkit refuses it.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <QImage>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "platform/codec/DecodePicture.h"
#include "platform/codec/PngDecoder.h"
#include "platform/picture/Cpu.h"
#include "platform/picture/Opaque.h"
#include "support/CodePaths.h"
#include "support/ParamName.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using platform::DecodedPicture;

// What the toolkit makes of the file on its own, made opaque as pictures are when they enter the
// program; a null image when it refuses it.
QImage DecodeToolkit(const Bytes& png) {
    const QImage image = QImage::fromData(png.data(), int(png.size()), "PNG");
    return image.isNull() ? image : platform::Opaque(image);
}

// Empty when the picture is the toolkit's, with every row's filler bytes 0; else the first difference.
std::string Compare(const QImage& expected, const platform::PictureBits& ours) {
    if (expected.width() != ours.Width() || expected.height() != ours.Height()) return "sizes differ";
    for (int y = 0; y < ours.Height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        const std::uint8_t* line = ours.Row(y);
        for (int x = 0; x < ours.Width(); ++x) {
            const std::uint8_t* p = line + 3 * x;
            if (p[0] != qBlue(row[x]) || p[1] != qGreen(row[x]) || p[2] != qRed(row[x]))
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + ": toolkit " +
                       std::to_string(qRed(row[x])) + " " + std::to_string(qGreen(row[x])) + " " +
                       std::to_string(qBlue(row[x])) + ", ours " + std::to_string(p[2]) + " " +
                       std::to_string(p[1]) + " " + std::to_string(p[0]);
        }
        for (int i = ours.Width() * 3; i < ours.Stride(); ++i)
            if (line[i] != 0) return "filler byte of row " + std::to_string(y) + " is not 0";
    }
    return "";
}

// --- Writing PNGs with libpng -------------------------------------------------------------

struct Kind {
    const char* name;
    int colour;  // PNG_COLOR_TYPE_*
    int depth;
    bool interlaced = false;
    bool transparency = false;  // a tRNS chunk
    int filter = PNG_ALL_FILTERS;
    int width = 37, height = 23;
    bool ours = false;    // our decoder takes it, rather than the toolkit's
    bool opaque = false;  // every alpha sample 255
    bool gamma = false;   // a gAMA chunk, which changes no pixel
};

void WriteToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

Bytes WritePng(const Kind& kind) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, WriteToVector, nullptr);
    png_set_IHDR(png, info, kind.width, kind.height, kind.depth, kind.colour,
                 kind.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, 0, kind.filter);
    std::mt19937 random(kind.width * 31 + kind.colour * 7 + kind.depth);
    const int entries = kind.colour == PNG_COLOR_TYPE_PALETTE ? std::min(256, 1 << kind.depth) : 0;
    if (entries) {
        std::vector<png_color> palette(entries);
        for (auto& c : palette) c = png_color{png_byte(random()), png_byte(random()), png_byte(random())};
        png_set_PLTE(png, info, palette.data(), entries);
    }
    if (kind.transparency) {
        if (entries) {
            std::vector<png_byte> alpha(entries / 2 + 1);
            for (auto& a : alpha) a = png_byte(random());
            png_set_tRNS(png, info, alpha.data(), int(alpha.size()), nullptr);
        } else {
            png_color_16 key{};
            key.red = key.green = key.blue = key.gray = 1;
            png_set_tRNS(png, info, nullptr, 0, &key);
        }
    }
    if (kind.gamma) png_set_gAMA(png, info, 1.0);
    png_write_info(png, info);
    const int channels = png_get_channels(png, info);
    const std::size_t rowBytes = (std::size_t(kind.width) * channels * kind.depth + 7) / 8;
    std::vector<Bytes> rows(kind.height, Bytes(rowBytes));
    for (int y = 0; y < kind.height; ++y)
        for (std::size_t i = 0; i < rowBytes; ++i) {
            // Smooth ramps with some noise, so every filter has something to predict; samples of a
            // few bits stay below the palette's size.
            std::uint8_t v = std::uint8_t(i * 5 + y * 9 + (random() % 7));
            if (entries && kind.depth == 8) v = std::uint8_t(v % entries);
            if (kind.opaque && i % channels == std::size_t(channels - 1)) v = 255;
            rows[y][i] = v;
        }
    std::vector<png_bytep> pointers;
    for (auto& row : rows) pointers.push_back(row.data());
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

// Kinds our decoder takes: 8-bit RGB, and RGBA with every pixel opaque.
Kind Ours(Kind kind) {
    kind.ours = true;
    return kind;
}
Kind Opaque(Kind kind) {
    kind.opaque = true;
    return Ours(kind);
}
Kind WithGamma(Kind kind) {
    kind.gamma = true;
    return kind;
}

// Why our decoder leaves a kind to the toolkit: the header first, then the chunks, then the pixels.
platform::Declined WhyLeft(const Kind& kind) {
    using platform::Declined;
    if (kind.ours) return Declined::kNot;
    if (kind.depth != 8 || (kind.colour != PNG_COLOR_TYPE_RGB && kind.colour != PNG_COLOR_TYPE_RGB_ALPHA) ||
        kind.interlaced)
        return Declined::kOtherKind;
    if (kind.transparency) return Declined::kUnknownChunk;  // tRNS
    return Declined::kTransparent;
}

class PngKinds : public ::testing::TestWithParam<Kind> {};

TEST_P(PngKinds, DecodeToTheToolkitsPixels) {
    const Bytes png = WritePng(GetParam());
    ASSERT_FALSE(png.empty());
    const QImage expected = DecodeToolkit(png);
    ASSERT_FALSE(expected.isNull());
    const DecodedPicture decoded = platform::DecodePicture(png);
    ASSERT_EQ(decoded.outcome, DecodedPicture::Outcome::kPicture);
    EXPECT_EQ(Compare(expected, *decoded.bits), "");
    EXPECT_EQ(platform::DecodeScreenPng(png).declined, WhyLeft(GetParam())) << "which decoder takes it";
}

constexpr int kRgb = PNG_COLOR_TYPE_RGB, kRgba = PNG_COLOR_TYPE_RGB_ALPHA, kGray = PNG_COLOR_TYPE_GRAY,
              kGrayAlpha = PNG_COLOR_TYPE_GRAY_ALPHA, kPalette = PNG_COLOR_TYPE_PALETTE;

INSTANTIATE_TEST_SUITE_P(
    All, PngKinds,
    ::testing::Values(
        // What screens give, each filter on its own, odd and even widths.
        Ours({"Rgb8", kRgb, 8}), Ours({"Rgb8None", kRgb, 8, false, false, PNG_FILTER_NONE}),
        Ours({"Rgb8Sub", kRgb, 8, false, false, PNG_FILTER_SUB}),
        Ours({"Rgb8Up", kRgb, 8, false, false, PNG_FILTER_UP}),
        Ours({"Rgb8Average", kRgb, 8, false, false, PNG_FILTER_AVG}),
        Ours({"Rgb8Paeth", kRgb, 8, false, false, PNG_FILTER_PAETH}),
        Ours({"Rgb8OnePixel", kRgb, 8, false, false, PNG_ALL_FILTERS, 1, 1}),
        Ours({"Rgb8Wide", kRgb, 8, false, false, PNG_ALL_FILTERS, 1283, 5}),
        WithGamma(Ours({"Rgb8WithGamma", kRgb, 8})), Opaque({"Rgba8Opaque", kRgba, 8}),
        Opaque({"Rgba8OpaqueSub", kRgba, 8, false, false, PNG_FILTER_SUB}),
        Opaque({"Rgba8OpaqueAverage", kRgba, 8, false, false, PNG_FILTER_AVG}),
        Opaque({"Rgba8OpaquePaeth", kRgba, 8, false, false, PNG_FILTER_PAETH}),
        Opaque({"Rgba8OpaqueWide", kRgba, 8, false, false, PNG_ALL_FILTERS, 640, 4}),
        // Transparent pixels: the toolkit's side lays them over white.
        Kind{"Rgba8", kRgba, 8}, Kind{"Rgba8Paeth", kRgba, 8, false, false, PNG_FILTER_PAETH},
        // Everything else a PNG can be. (Not 16-bit RGB with a transparent colour: the toolkit's
        // decode of it differs from one run to the next.)
        Kind{"Rgb8Transparent", kRgb, 8, false, true}, Kind{"Rgb16", kRgb, 16}, Kind{"Rgba16", kRgba, 16},
        Kind{"Gray1", kGray, 1}, Kind{"Gray2", kGray, 2}, Kind{"Gray4", kGray, 4}, Kind{"Gray8", kGray, 8},
        Kind{"Gray16", kGray, 16}, Kind{"Gray8Transparent", kGray, 8, false, true},
        Kind{"Gray2Transparent", kGray, 2, false, true}, Kind{"Gray16Transparent", kGray, 16, false, true},
        Kind{"GrayAlpha8", kGrayAlpha, 8}, Kind{"GrayAlpha16", kGrayAlpha, 16}, Kind{"Palette1", kPalette, 1},
        Kind{"Palette2", kPalette, 2}, Kind{"Palette4", kPalette, 4}, Kind{"Palette8", kPalette, 8},
        Kind{"Palette8Transparent", kPalette, 8, false, true},
        Kind{"Palette4Transparent", kPalette, 4, false, true}, Kind{"Rgb8Interlaced", kRgb, 8, true},
        Kind{"Rgba8Interlaced", kRgba, 8, true}, Kind{"Rgb16Interlaced", kRgb, 16, true},
        Kind{"Gray1Interlaced", kGray, 1, true}, Kind{"Palette4Interlaced", kPalette, 4, true},
        Kind{"GrayAlpha8Interlaced", kGrayAlpha, 8, true},
        Kind{"Rgb8InterlacedTiny", kRgb, 8, true, false, PNG_ALL_FILTERS, 3, 2}),
    testing_support::ByName);

// --- Broken files -------------------------------------------------------------------------

// A PNG put together chunk by chunk, so a test can break any part of it.
struct Chunk {
    std::string type;
    Bytes data;
};

void Put32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(v >> shift));
}

Bytes Assemble(const std::vector<Chunk>& chunks) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    for (const Chunk& c : chunks) {
        Put32(out, std::uint32_t(c.data.size()));
        const std::size_t start = out.size();
        out.insert(out.end(), c.type.begin(), c.type.end());
        out.insert(out.end(), c.data.begin(), c.data.end());
        Put32(out, std::uint32_t(crc32(0, &out[start], uInt(out.size() - start))));
    }
    return out;
}

Bytes Compress(const Bytes& raw) {
    uLongf size = compressBound(uLong(raw.size()));
    Bytes out(size);
    compress2(out.data(), &size, raw.data(), uLong(raw.size()), 6);
    out.resize(size);
    return out;
}

constexpr int kW = 29, kH = 11;

// The rows of an 8-bit RGB picture with their filter bytes (cycling through all five).
Bytes FilteredRows(int height = kH, int filterOf5 = -1) {
    Bytes raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(std::uint8_t(filterOf5 >= 0 ? filterOf5 : y % 5));
        for (int i = 0; i < kW * 3; ++i) raw.push_back(std::uint8_t(i * 3 + y));
    }
    return raw;
}

Chunk Ihdr(int colour = 2, int depth = 8, int interlace = 0) {
    Bytes d;
    Put32(d, kW);
    Put32(d, kH);
    d.insert(d.end(), {std::uint8_t(depth), std::uint8_t(colour), 0, 0, std::uint8_t(interlace)});
    return {"IHDR", d};
}

Bytes Picture(const Bytes& idat) { return Assemble({Ihdr(), {"IDAT", idat}, {"IEND", {}}}); }

struct Broken {
    const char* name;
    std::function<Bytes()> make;
};

Bytes Valid() { return Picture(Compress(FilteredRows())); }
Bytes Cut(Bytes b, std::size_t keep) {
    b.resize(keep);
    return b;
}

class BrokenPngs : public ::testing::TestWithParam<Broken> {};

TEST_P(BrokenPngs, AreRefusedExactlyWhenTheToolkitRefusesThem) {
    const Bytes png = GetParam().make();
    const QImage expected = DecodeToolkit(png);
    const DecodedPicture decoded = platform::DecodePicture(png);
    ASSERT_EQ(decoded.outcome == DecodedPicture::Outcome::kPicture, !expected.isNull())
        << (expected.isNull() ? "the toolkit refuses it" : "the toolkit takes it");
    if (decoded.bits) {
        EXPECT_EQ(Compare(expected, *decoded.bits), "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    All, BrokenPngs,
    ::testing::Values(
        Broken{"ValidForComparison", Valid}, Broken{"Empty", [] { return Bytes{}; }},
        Broken{"SignatureOnly", [] { return Cut(Valid(), 8); }},
        Broken{"CutInHeader", [] { return Cut(Valid(), 20); }},
        Broken{"CutInImageData", [] { return Cut(Valid(), Valid().size() / 2); }},
        Broken{"EndChunkMissing", [] { return Cut(Valid(), Valid().size() - 12); }},
        Broken{"EndChunkCut", [] { return Cut(Valid(), Valid().size() - 4); }},
        Broken{"ImageDataFlipped",
               [] {
                   Bytes b = Valid();
                   b[8 + 25 + 8 + 10] ^= 0x40;  // inside IDAT, checksum left as it was
                   return b;
               }},
        Broken{"ImageDataFlippedChecksumMended",
               [] {
                   Bytes idat = Compress(FilteredRows());
                   idat[idat.size() / 2] ^= 0x40;
                   return Picture(idat);
               }},
        Broken{"Adler32Wrong",
               [] {
                   Bytes idat = Compress(FilteredRows());
                   idat.back() ^= 1;
                   return Picture(idat);
               }},
        Broken{"HeaderChecksumWrong",
               [] {
                   Bytes b = Valid();
                   b[29] ^= 1;
                   return b;
               }},
        Broken{"UnknownFilterType",
               [] {
                   Bytes raw = FilteredRows();
                   raw[(kW * 3 + 1) * 4] = 5;
                   return Picture(Compress(raw));
               }},
        Broken{"TooLittleImageData", [] { return Picture(Compress(FilteredRows(kH - 2))); }},
        Broken{"TooMuchImageData", [] { return Picture(Compress(FilteredRows(kH + 3))); }},
        Broken{"ImageDataSplitInThree",
               [] {
                   const Bytes z = Compress(FilteredRows());
                   const std::size_t third = z.size() / 3;
                   return Assemble({Ihdr(),
                                    {"IDAT", Bytes(z.begin(), z.begin() + third)},
                                    {"IDAT", Bytes(z.begin() + third, z.begin() + 2 * third)},
                                    {"IDAT", Bytes(z.begin() + 2 * third, z.end())},
                                    {"IEND", {}}});
               }},
        Broken{"ImageDataInterrupted",
               [] {
                   const Bytes z = Compress(FilteredRows());
                   const std::size_t half = z.size() / 2;
                   return Assemble({Ihdr(),
                                    {"IDAT", Bytes(z.begin(), z.begin() + half)},
                                    {"tEXt", {'a', 0, 'b'}},
                                    {"IDAT", Bytes(z.begin() + half, z.end())},
                                    {"IEND", {}}});
               }},
        Broken{"EmptyImageDataChunkFirst",
               [] {
                   return Assemble({Ihdr(), {"IDAT", {}}, {"IDAT", Compress(FilteredRows())}, {"IEND", {}}});
               }},
        Broken{"NoImageData",
               [] {
                   return Assemble({Ihdr(), {"IEND", {}}});
               }},
        Broken{
            "UnknownCriticalChunk",
            [] {
                return Assemble({Ihdr(), {"ABCD", {1, 2}}, {"IDAT", Compress(FilteredRows())}, {"IEND", {}}});
            }},
        Broken{
            "UnknownAncillaryChunk",
            [] {
                return Assemble({Ihdr(), {"abCd", {1, 2}}, {"IDAT", Compress(FilteredRows())}, {"IEND", {}}});
            }},
        Broken{"AncillaryChecksumWrong",
               [] {
                   Bytes b = Assemble(
                       {Ihdr(), {"tEXt", {'k', 0, 'v'}}, {"IDAT", Compress(FilteredRows())}, {"IEND", {}}});
                   b[8 + 25 + 8 + 3] ^= 1;  // the text chunk's checksum
                   return b;
               }},
        Broken{
            "SuggestedPalette",
            [] {
                return Assemble(
                    {Ihdr(), {"PLTE", {1, 2, 3, 4, 5, 6}}, {"IDAT", Compress(FilteredRows())}, {"IEND", {}}});
            }},
        Broken{"TrailingBytes",
               [] {
                   Bytes b = Valid();
                   b.insert(b.end(), {1, 2, 3});
                   return b;
               }},
        Broken{"ChunksAfterEnd",
               [] {
                   return Assemble(
                       {Ihdr(), {"IDAT", Compress(FilteredRows())}, {"IEND", {}}, {"tEXt", {'a', 0}}});
               }},
        Broken{"BitDepthImpossible",
               [] {
                   return Assemble({Ihdr(2, 4), {"IDAT", Compress(FilteredRows())}, {"IEND", {}}});
               }},
        Broken{"ColourTypeUnknown",
               [] {
                   return Assemble({Ihdr(5, 8), {"IDAT", Compress(FilteredRows())}, {"IEND", {}}});
               }},
        Broken{"InterlaceUnknown",
               [] {
                   return Assemble({Ihdr(2, 8, 2), {"IDAT", Compress(FilteredRows())}, {"IEND", {}}});
               }},
        Broken{"PaletteMissing",
               [] {
                   return Assemble({Ihdr(3, 8), {"IDAT", Compress(FilteredRows())}, {"IEND", {}}});
               }}),
    testing_support::ByName);

// --- Filters chosen row by row ---------------------------------------------------------------

// Rows filtered with the filter types of `filters`, one a row (0 None, 1 Sub, 2 Up, 3 Average,
// 4 Paeth), written here from the format's definitions; the decoder must restore the pixels,
// whatever filters meet (Paeth rows that follow each other are restored in pairs).
Bytes FilterRows(const std::vector<Bytes>& pixels, const std::string& filters, int pixelBytes) {
    Bytes raw;
    const Bytes zeros(pixels[0].size());
    for (std::size_t y = 0; y < pixels.size(); ++y) {
        const Bytes& row = pixels[y];
        const Bytes& up = y ? pixels[y - 1] : zeros;
        const int filter = filters[y % filters.size()] - '0';
        raw.push_back(std::uint8_t(filter));
        for (std::size_t i = 0; i < row.size(); ++i) {
            const int a = i >= std::size_t(pixelBytes) ? row[i - pixelBytes] : 0, b = up[i];
            const int c = i >= std::size_t(pixelBytes) ? up[i - pixelBytes] : 0;
            const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            const int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            const int predictor[] = {0, a, b, (a + b) / 2, paeth};
            raw.push_back(std::uint8_t(row[i] - predictor[filter]));
        }
    }
    return raw;
}

struct FilterRun {
    const char* name;
    std::string filters;  // repeated over the rows
};

// Through the fastest unfiltering this processor runs and through the plain one: both restore the
// same bytes, those the rows were made from.
class PngFilterRuns
    : public ::testing::TestWithParam<std::tuple<FilterRun, int, int, testing_support::CodePath>> {};

TEST_P(PngFilterRuns, RestoreEveryPixel) {
    const auto& [run, width, colour, path] = GetParam();
    const platform::CpuLimit limit(path.allowed);
    const int pixelBytes = colour == kRgb ? 3 : 4, height = 23;
    // Noise over ramps, so that every predictor is chosen, and bytes near 0 and 255 wrap.
    std::mt19937 random(width * 7 + colour);
    std::vector<Bytes> pixels(height, Bytes(std::size_t(width) * pixelBytes));
    for (int y = 0; y < height; ++y)
        for (std::size_t i = 0; i < pixels[y].size(); ++i)
            pixels[y][i] =
                (pixelBytes == 4 && i % 4 == 3) ? 255 : std::uint8_t(i * 7 + y * 11 + random() % 60);
    Bytes header;
    Put32(header, std::uint32_t(width));
    Put32(header, std::uint32_t(height));
    header.insert(header.end(), {8, std::uint8_t(colour), 0, 0, 0});
    const Bytes png = Assemble(
        {{"IHDR", header}, {"IDAT", Compress(FilterRows(pixels, run.filters, pixelBytes))}, {"IEND", {}}});
    const auto ours = platform::DecodeScreenPng(png).bits;
    ASSERT_NE(ours, nullptr);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* restored = ours->Row(y) + 3 * x;
            const std::uint8_t* pixel = &pixels[y][std::size_t(x) * pixelBytes];
            ASSERT_EQ(restored[0], pixel[2]) << "pixel " << x << "," << y;
            ASSERT_EQ(restored[1], pixel[1]) << "pixel " << x << "," << y;
            ASSERT_EQ(restored[2], pixel[0]) << "pixel " << x << "," << y;
        }
    // The toolkit, reading the same file, agrees.
    EXPECT_EQ(Compare(DecodeToolkit(png), *ours), "");
}

INSTANTIATE_TEST_SUITE_P(
    Runs, PngFilterRuns,
    ::testing::Combine(::testing::Values(FilterRun{"AllPaeth", "4"}, FilterRun{"AllAverage", "3"},
                                         FilterRun{"AllSub", "1"}, FilterRun{"ChainedMixed", "4314134"},
                                         FilterRun{"UpAndNoneBetween", "44244304412044443"},
                                         FilterRun{"EveryFilterInTurn", "0123401234432104"},
                                         FilterRun{"RunsOfEachLength", "42443244432444432444443222"}),
                       ::testing::Values(1, 2, 3, 4, 5, 17, 640), ::testing::Values(kRgb, kRgba),
                       testing_support::kCodePaths),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) + "Width" + std::to_string(std::get<1>(info.param)) +
               (std::get<2>(info.param) == kRgb ? "Rgb" : "Rgba") + std::get<3>(info.param).name;
    });

// --- Limits -------------------------------------------------------------------------------

class PngLimits : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(PngLimits, APictureLargerThanAnyBitmapIsRefusedBeforeItIsInflated) {
    // 20000 x 20000 pixels of one colour inflate from a few kilobytes to 1.2 GB; the largest
    // sizes the format allows must not overflow either.
    Bytes header;
    Put32(header, GetParam());
    Put32(header, GetParam());
    header.insert(header.end(), {8, 2, 0, 0, 0});
    const Bytes png = Assemble({{"IHDR", header}, {"IDAT", Compress(Bytes(1000, 0))}, {"IEND", {}}});
    EXPECT_EQ(platform::DecodeScreenPng(png).declined, platform::Declined::kTooLarge);
    EXPECT_NE(platform::DecodePicture(png).outcome, DecodedPicture::Outcome::kPicture);
}

INSTANTIATE_TEST_SUITE_P(Sides, PngLimits, ::testing::Values(20000u, 0x77777777u, 0x7fffffffu),
                         [](const auto& info) { return "Side" + std::to_string(info.param); });

}  // namespace
