#pragma once
// The clipboard reader's one decoding step: the bytes of one clipboard type to the picture they
// hold, whole or not at all, in the buffer's layout. Runs on the clipboard's own thread, never on
// the interface thread.

#include <QSize>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/picture/PictureBits.h"

namespace platform {

struct DecodedPicture {
    enum class Outcome {
        kPicture,   // `bits` holds every pixel
        kBroken,    // cut short, sizes absurd for its length, or not decodable: no picture
        kTooLarge,  // more pixels than a picture may have (PictureBits::Fits); `size` says how many
    };
    Outcome outcome = Outcome::kBroken;
    std::shared_ptr<PictureBits> bits;  // for kPicture: opaque, those with alpha laid over white
    QSize size;                         // the picture's size, where known
};

// The bytes' own signature decides the checks and the decoder, whatever type they were offered as
// (a PNG offered as "image/bmp" is a PNG). Screen-grab PNGs and plain bitmap files are decoded by
// our own decoders (PngDecoder.h, BmpDecoder.h), every other picture by the toolkit's; both give
// the same pixels. JPEG is decoded by libjpeg-turbo (JpegDecoder.h), whole or none.
DecodedPicture DecodePicture(std::span<const std::uint8_t> bytes);
// The same for bytes whose memory the picture may take where they already hold its rows in the
// buffer's layout (a 24-bit bitmap file, bottom row first), which spares a copy; `bytes` is left
// empty then.
DecodedPicture DecodePicture(PixelBytes& bytes);

}  // namespace platform
