#pragma once
// PNG pictures as screens give them, decoded straight into the buffer's layout (PictureBits): 8-bit
// RGB or RGBA without interlacing, every pixel opaque. The image data is inflated whole by
// libdeflate and each row unfiltered and turned into bitmap order at once, so no copy follows.
//
// Anything else (grey, palettes, other depths, interlacing, a transparent colour or pixel, a chunk
// this decoder does not know to be harmless) and anything broken is declined: the toolkit's
// decoder then decides, as for any other picture. What this decoder takes, it decodes to the
// pixels the toolkit gives. Safe to call from any thread.

#include <cstdint>
#include <memory>
#include <span>

#include "platform/codec/Declined.h"
#include "platform/codec/PngHeader.h"

namespace platform {

// The picture, or why the file is declined, for a file whose header chunk the caller has read.
Decoded DecodeScreenPng(std::span<const std::uint8_t> png, const PngHeader& header);
// The same, reading the header itself.
Decoded DecodeScreenPng(std::span<const std::uint8_t> png);

}  // namespace platform
