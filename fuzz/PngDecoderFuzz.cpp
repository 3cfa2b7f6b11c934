// Fuzzes the PNG decoder, with libpng as the judge. The first byte chooses what the rest is:
//   even: a PNG file, whose chunk checksums are mended first, so that mutations reach the parts
//         behind them (a wrong checksum is refused at once);
//   odd:  a header (4 bytes: width, height, kind, filler) and the raw filtered rows, which are
//         compressed and wrapped in a valid file, so that every filter and row length is unfiltered.
// Every picture the decoder takes must be one libpng takes as well, with the same pixels, and its
// rows' filler bytes must be 0. (The decoder declines what it does not take; the toolkit then
// decides, which is not fuzzed here.)
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "platform/codec/PngDecoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(v >> shift));
}

std::uint32_t Get32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

void MendChecksums(Bytes& png) {
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::size_t length = Get32(&png[at]);
        if (length > png.size() - at - 12) break;
        const std::uint32_t crc = std::uint32_t(crc32(0, &png[at + 4], uInt(length + 4)));
        for (int i = 0; i < 4; ++i) png[at + 8 + length + i] = std::uint8_t(crc >> (24 - 8 * i));
        at += 12 + length;
    }
}

void AddChunk(Bytes& out, const char* type, const std::uint8_t* data, std::size_t length) {
    Put32(out, std::uint32_t(length));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    if (length) out.insert(out.end(), data, data + length);
    Put32(out, std::uint32_t(crc32(0, &out[start], uInt(out.size() - start))));
}

// Kind: bit 0 RGBA rather than RGB, bit 1 every alpha sample made 255 (what screens give).
Bytes Wrap(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return {};
    const std::uint32_t width = 1 + data[0] % 70, height = 1 + data[1] % 40;
    const bool rgba = data[2] & 1, opaque = data[2] & 2;
    Bytes header;
    Put32(header, width);
    Put32(header, height);
    header.insert(header.end(), {8, std::uint8_t(rgba ? 6 : 2), 0, 0, 0});
    Bytes raw(data + 4, data + size);
    if (rgba && opaque) {
        const std::size_t line = 1 + width * 4;
        for (std::size_t i = 0; i < raw.size(); ++i)
            if (i % line != 0 && (i % line - 1) % 4 == 3) raw[i] = 255;
        // Made 255 after filtering, so only None rows keep them opaque; good enough to reach the
        // opaque path often.
    }
    uLongf length = compressBound(uLong(raw.size()));
    Bytes z(length);
    compress2(z.data(), &length, raw.data(), uLong(raw.size()), 1);
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    AddChunk(png, "IHDR", header.data(), header.size());
    AddChunk(png, "IDAT", z.data(), length);
    AddChunk(png, "IEND", nullptr, 0);
    return png;
}

// libpng's decode of the file to blue, green, red rows (alpha dropped); false when it refuses it.
struct Reader {
    std::span<const std::uint8_t> png;
    std::size_t at = 0;
};

void ReadFrom(png_structp png, png_bytep out, png_size_t length) {
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (reader->png.size() - reader->at < length) png_error(png, "cut short");
    std::memcpy(out, reader->png.data() + reader->at, length);
    reader->at += length;
}

void Quiet(png_structp, png_const_charp) {}

bool DecodeLibpng(std::span<const std::uint8_t> file, std::uint32_t width, std::uint32_t height,
                  Bytes& rows) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, Quiet);
    png_infop info = png_create_info_struct(png);
    Reader reader{file};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, ReadFrom);
    png_read_info(png, info);
    if (png_get_image_width(png, info) != width || png_get_image_height(png, info) != height)
        png_error(png, "size");
    png_set_strip_alpha(png);
    png_set_bgr(png);
    png_read_update_info(png, info);
    rows.assign(std::size_t(width) * 3 * height, 0);
    std::vector<png_bytep> pointers;
    for (std::uint32_t y = 0; y < height; ++y) pointers.push_back(&rows[std::size_t(y) * width * 3]);
    png_read_image(png, pointers.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    Bytes png;
    if (data[0] % 2 == 0) {
        png.assign(data + 1, data + size);
        MendChecksums(png);
        // Pictures over a million pixels only slow the fuzzer down.
        if (png.size() >= 24 && std::uint64_t(Get32(&png[16])) * Get32(&png[20]) > (1u << 20)) return 0;
    } else {
        png = Wrap(data + 1, size - 1);
    }
    const auto bits = platform::DecodeScreenPng(png).bits;
    if (!bits) return 0;
    const std::uint32_t width = std::uint32_t(bits->Width()), height = std::uint32_t(bits->Height());
    Bytes expected;
    if (!DecodeLibpng(png, width, height, expected)) std::abort();  // taken, though libpng refuses it
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* row = bits->Row(std::int32_t(y));
        if (std::memcmp(row, &expected[std::size_t(y) * width * 3], std::size_t(width) * 3) != 0)
            std::abort();  // other pixels than libpng's
        for (std::size_t i = std::size_t(width) * 3; i < std::size_t(bits->Stride()); ++i)
            if (row[i] != 0) std::abort();  // a filler byte not cleared
    }
    return 0;
}
