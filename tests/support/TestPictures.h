#pragma once
// Pictures for the JPEG tests: made top-down in RGB, laid out as DIB rows (blue, green, red,
// padded, bottom-up or top-down) for the writer, and decoded back from the written file with
// TurboJPEG for comparison.

#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "support/TempHome.h"

namespace testing_support {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // top row first, red, green, blue a pixel

    std::uint8_t* At(int x, int y) { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    const std::uint8_t* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

inline Picture Blank(int width, int height) {
    return Picture{width, height, std::vector<std::uint8_t>(static_cast<size_t>(width) * height * 3)};
}

// Red grows downwards, blue shrinks downwards, green grows to the right: an upside-down or sheared
// picture, or one with red and blue swapped, differs from it everywhere by far more than
// JPEG's loss.
inline Picture Gradient(int width, int height) {
    Picture p = Blank(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double fy = height > 1 ? double(y) / (height - 1) : 0.0;
            const double fx = double(x) / std::max(width - 1, 24);  // gentle, even across a few pixels
            std::uint8_t* px = p.At(x, y);
            px[0] = static_cast<std::uint8_t>(30 + 180 * fy);
            px[1] = static_cast<std::uint8_t>(60 + 100 * fx);
            px[2] = static_cast<std::uint8_t>(220 - 160 * fy);
        }
    return p;
}

// What a screen grab looks like: a desktop gradient, windows with title bars, flat panels and
// rows of dark "text" strokes on light ground.
inline Picture ScreenLike(int width, int height) {
    Picture p = Blank(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* px = p.At(x, y);
            px[0] = static_cast<std::uint8_t>(40 + 60 * y / height);
            px[1] = static_cast<std::uint8_t>(80 + 60 * x / width);
            px[2] = 140;
        }
    const auto fill = [&](int x0, int y0, int x1, int y1, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        for (int y = std::max(0, y0); y < std::min(height, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(width, x1); ++x) {
                std::uint8_t* px = p.At(x, y);
                px[0] = r, px[1] = g, px[2] = b;
            }
    };
    unsigned seed = 12345;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
    for (int w = 0; w < 3; ++w) {
        const int x0 = width * w / 4 + 10, y0 = height * w / 6 + 10;
        const int x1 = x0 + width / 2, y1 = y0 + height / 2;
        fill(x0, y0, x1, y1, 240, 240, 236);                  // window
        fill(x0, y0, x1, y0 + 24, 50, 90, 160);               // title bar
        for (int line = y0 + 36; line + 10 < y1; line += 16)  // text lines
            for (int x = x0 + 8; x + 8 < x1 - 40;) {
                const int word = 3 + next() % 6;
                for (int c = 0; c < word && x + 8 < x1; ++c, x += 7)
                    for (int s = 0; s < 3; ++s)
                        if (next() % 2) fill(x + s * 2, line, x + s * 2 + 1, line + 10, 20, 20, 30);
                x += 7;
            }
    }
    return p;
}

// Deterministic noise, which JPEG cannot squeeze: for filling a small disk.
inline Picture Noise(int width, int height) {
    Picture p = Blank(width, height);
    unsigned seed = 99;
    for (auto& b : p.rgb) b = static_cast<std::uint8_t>((seed = seed * 1664525u + 1013904223u) >> 24);
    return p;
}

// The row length of a 24-bit DIB: 3 bytes a pixel raised to a multiple of 4.
inline int DibPitch(int width) { return (width * 3 + 3) & ~3; }

// The picture as 24-bit DIB rows, filler bytes 0xEE so that reading them shows.
inline std::vector<std::uint8_t> DibRows(const Picture& p, bool bottomUp) {
    const int pitch = DibPitch(p.width);
    std::vector<std::uint8_t> rows(static_cast<size_t>(pitch) * p.height, 0xEE);
    for (int y = 0; y < p.height; ++y) {
        std::uint8_t* row = &rows[static_cast<size_t>(bottomUp ? p.height - 1 - y : y) * pitch];
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t* px = p.At(x, y);
            row[x * 3 + 0] = px[2];
            row[x * 3 + 1] = px[1];
            row[x * 3 + 2] = px[0];
        }
    }
    return rows;
}

// The JPEG file decoded to top-down RGB; nothing when it is no JPEG.
inline std::optional<Picture> DecodeJpegFile(const std::string& path) {
    const std::string bytes = testing_support::ReadFileBytes(path);
    if (bytes.empty()) return std::nullopt;
    tjhandle decoder = tjInitDecompress();
    int width = 0, height = 0, subsamp = 0, colorspace = 0;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::optional<Picture> result;
    if (tjDecompressHeader3(decoder, data, bytes.size(), &width, &height, &subsamp, &colorspace) == 0) {
        Picture p = Blank(width, height);
        if (tjDecompress2(decoder, data, bytes.size(), p.rgb.data(), width, width * 3, height, TJPF_RGB, 0) ==
            0)
            result = std::move(p);
    }
    tjDestroy(decoder);
    return result;
}

// The largest difference of one colour channel between two pictures of the same size.
inline int MaxDifference(const Picture& a, const Picture& b) {
    int most = 0;
    for (size_t i = 0; i < a.rgb.size() && i < b.rgb.size(); ++i)
        most = std::max(most, std::abs(a.rgb[i] - b.rgb[i]));
    return most;
}

// Peak signal-to-noise ratio over all channels, in dB.
inline double Psnr(const Picture& a, const Picture& b) {
    double sum = 0;
    for (size_t i = 0; i < a.rgb.size(); ++i) {
        const double d = double(a.rgb[i]) - b.rgb[i];
        sum += d * d;
    }
    const double mse = sum / double(a.rgb.size());
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace testing_support
