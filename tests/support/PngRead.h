#pragma once
// A PNG file read back with libpng, independent of the writer under test: its pixels as top-down
// red, green, blue, its chunk types in order, and every warning libpng had to give.

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace testing_support {

struct ReadPng {
    std::uint32_t width = 0, height = 0;
    int depth = 0, colour = 0, interlace = 0;
    bool srgb = false;
    std::vector<std::uint8_t> rgb;  // top row first
    std::vector<std::string> warnings;
};

namespace png_read_detail {

struct Source {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
    std::vector<std::string>* warnings;
};

inline void Read(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (source->bytes.size() - source->at < length) png_error(png, "cut short");
    std::memcpy(out, source->bytes.data() + source->at, length);
    source->at += length;
}

inline void Warn(png_structp png, png_const_charp message) {
    static_cast<Source*>(png_get_io_ptr(png))->warnings->push_back(message);
}

inline void Fail(png_structp png, png_const_charp message) {
    static_cast<Source*>(png_get_io_ptr(png))->warnings->push_back(std::string("error: ") + message);
    png_longjmp(png, 1);
}

}  // namespace png_read_detail

// The file decoded to 8-bit RGB by libpng; nothing when libpng refuses it (its reason is then the
// last of `warnings`, when given).
inline std::optional<ReadPng> ReadPngFile(std::span<const std::uint8_t> file,
                                          std::vector<std::string>* refusal = nullptr) {
    ReadPng out;
    png_read_detail::Source source{file, 0, &out.warnings};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_infop end = png_create_info_struct(png);
    png_set_read_fn(png, &source, png_read_detail::Read);
    png_set_error_fn(png, &source, png_read_detail::Fail, png_read_detail::Warn);
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, &end);
        if (refusal) *refusal = out.warnings;
        return std::nullopt;
    }
    png_read_info(png, info);
    out.width = png_get_image_width(png, info);
    out.height = png_get_image_height(png, info);
    out.depth = png_get_bit_depth(png, info);
    out.colour = png_get_color_type(png, info);
    out.interlace = png_get_interlace_type(png, info);
    out.srgb = png_get_valid(png, info, PNG_INFO_sRGB) != 0;
    if (out.depth != 8 || out.colour != PNG_COLOR_TYPE_RGB) png_error(png, "not 8-bit RGB");
    out.rgb.assign(std::size_t(out.width) * 3 * out.height, 0);
    for (std::uint32_t y = 0; y < out.height; ++y) rows.push_back(&out.rgb[std::size_t(y) * out.width * 3]);
    png_read_image(png, rows.data());
    png_read_end(png, end);
    png_destroy_read_struct(&png, &info, &end);
    return out;
}

// The chunk types of a PNG file in order ("IHDR", "sRGB", ...); stops at anything out of place.
inline std::vector<std::string> ChunkTypes(std::span<const std::uint8_t> file) {
    std::vector<std::string> types;
    for (std::size_t at = 8; at + 12 <= file.size();) {
        const std::size_t length = std::size_t(file[at]) << 24 | std::size_t(file[at + 1]) << 16 |
                                   std::size_t(file[at + 2]) << 8 | file[at + 3];
        types.emplace_back(reinterpret_cast<const char*>(&file[at + 4]), 4);
        if (length > file.size() - at - 12) break;
        at += 12 + length;
    }
    return types;
}

}  // namespace testing_support
