#pragma once
// JPEG pictures, decoded by libjpeg-turbo straight into the buffer's layout (PictureBits): whole or
// not at all. A file the library has to warn about (cut short, a corrupt segment) is no picture,
// where a decoder that carries on would fill the missing rows with grey. CMYK pictures are left to
// the toolkit's decoder. Safe to call from any thread.

#include <cstdint>
#include <span>

#include "platform/codec/Declined.h"

namespace platform {

// The picture; kCutShort or kBadData for a file that is not whole, kOtherKind for a colour space
// left to the toolkit.
Decoded DecodeJpeg(std::span<const std::uint8_t> jpeg);

}  // namespace platform
