#pragma once
// Our PNG writer: a picture of 3-byte blue, green, red pixels, read in place, becomes an 8-bit RGB
// PNG file that is not interlaced: the chunks IHDR, sRGB (the screen's colours, perceptual intent),
// one IDAT and IEND. Each row is filtered by the type PngRowFilter chooses, and all of them are
// deflated with libdeflate in one call.
//
// Like the JPEG library calls (Ijl.h), failures come back as result codes, with the same numbers
// for the same kinds of failure; the file named is replaced as a whole through AtomicFile, so a
// failed write leaves an earlier file untouched.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/codec/PngRowFilter.h"

namespace platform {

enum class PngResult : int {
    kOk = 0,
    kOutOfMemory = -5,       // the filtered rows or the compressed data could not be allocated
    kInvalidPicture = -8,    // no pixels, a size of 0, rows shorter than their pixels, or more
                             // bytes than one PNG chunk can hold
    kCloseFailed = -9,       // the written file could not be closed or put in place
    kInvalidFileName = -10,  // no file name, or one that maps to no host path
    kWriteFailed = -23,      // the file could not be created or fully written
};

// The pixels: `width` pixels a row, `height` rows, each row's first byte `pitch` bytes after the
// one before it in memory. With `bottomUp` the first row in memory is the picture's bottom row.
struct PngPicture {
    const std::uint8_t* bits = nullptr;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::size_t pitch = 0;
    bool bottomUp = true;
};

// What the writer chooses, measured in bench/README.md: the adaptive filter choice, and libdeflate's
// level 2, which costs no more than level 1 on screen grabs and makes files 2 to 5 % smaller.
inline constexpr PngFilterChoice kPngFilterChoice = PngFilterChoice::kAdaptive;
inline constexpr int kPngDeflateLevel = 2;

struct PngFile {
    PngResult result = PngResult::kOk;
    // The whole file; it lives in a buffer kept for the next picture and stays valid until the
    // next call.
    std::span<const std::uint8_t> bytes;
};

// Encodes the picture as a PNG file in memory. The choice and level are there for the benchmarks.
PngFile EncodePng(const PngPicture& picture, PngFilterChoice choice = kPngFilterChoice,
                  int level = kPngDeflateLevel);

// Encodes the picture into the file `fileName` (a Windows-form name, mapped by MapPath).
PngResult WritePng(const PngPicture& picture, const char* fileName);

}  // namespace platform
