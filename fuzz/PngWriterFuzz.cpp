// Fuzzes our PNG writer, with libpng as the judge. The first four bytes choose the picture's shape:
// width (1 to 512, from two bytes), height (1 to 64), and in the fourth byte the row order (bit 0),
// the filter choice (bit 1) and the filler bytes after each row beyond the 4-byte padding (bits 2
// to 4). The rest are the pixels, repeated to fill the picture (all zeros when there are none).
// Every file must be read by libpng without a warning, hold exactly the pixels written, and have
// the chunks IHDR, sRGB, IDAT and IEND in that order.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/codec/PngWriter.h"
#include "support/PngRead.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const std::uint32_t width = 1 + (std::uint32_t(data[0]) << 8 | data[1]) % 512;
    const std::uint32_t height = 1 + data[2] % 64;
    const bool bottomUp = data[3] & 1;
    const auto choice = data[3] & 2 ? platform::PngFilterChoice::kUp : platform::PngFilterChoice::kAdaptive;
    const std::size_t pitch = ((3 * width + 3) & ~std::size_t{3}) + (data[3] >> 2 & 7);
    const std::uint8_t* pixels = data + 4;
    const std::size_t count = size - 4;

    // The rows as they lie in memory; the picture top row first, to compare with.
    std::vector<std::uint8_t> rows(pitch * height, 0xA5), expected(std::size_t(3) * width * height);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::size_t y = i / (3 * width), inRow = i % (3 * width);
        const std::uint8_t value = count ? pixels[i % count] : 0;
        const std::size_t memoryRow = bottomUp ? height - 1 - y : y;
        rows[memoryRow * pitch + inRow / 3 * 3 + (2 - inRow % 3)] = value;  // stored blue, green, red
        expected[i] = value;
    }

    const platform::PngFile png = platform::EncodePng({rows.data(), width, height, pitch, bottomUp}, choice);
    if (png.result != platform::PngResult::kOk) std::abort();
    const auto read = testing_support::ReadPngFile(png.bytes);
    if (!read || !read->warnings.empty() || !read->srgb || read->interlace != 0) std::abort();
    if (read->width != width || read->height != height || read->rgb != expected) std::abort();
    if (testing_support::ChunkTypes(png.bytes) != std::vector<std::string>{"IHDR", "sRGB", "IDAT", "IEND"})
        std::abort();
    return 0;
}
