#pragma once
// Which picture format a run of bytes is, by its own signature: the one decision of which check
// and which decoder a clipboard picture goes to, whatever type it was offered as.

#include <cstdint>
#include <span>

namespace platform {

enum class PictureFormat {
    kBitmap,  // "BM": a Windows bitmap file
    kPng,
    kJpeg,
    kOther,  // left to the toolkit's decoders, unchecked
};

// The eight bytes every PNG file begins with.
inline constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

PictureFormat FormatOf(std::span<const std::uint8_t> bytes);

}  // namespace platform
