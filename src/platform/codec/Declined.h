#pragma once
// What a decoder of our own gives: the picture, or why it declined the file. A declined file goes
// to the toolkit's decoders, which decide; the reason is for tests and the debug log.

#include <cstdint>
#include <memory>

#include "platform/picture/PictureBits.h"

namespace platform {

enum class Declined : std::uint8_t {
    kNot,           // taken: the picture holds every pixel
    kOtherFormat,   // not this decoder's format
    kOtherKind,     // of its format, but a kind it leaves to the toolkit (depth, colours, interlacing,
                    // compression, masks)
    kTransparent,   // a pixel that is not fully opaque: the toolkit lays it over white
    kUnknownChunk,  // a chunk that might change a pixel
    kBadChecksum,   // a chunk whose CRC does not match
    kCutShort,      // rows, chunks or image data missing
    kBadData,       // the image data is not what the header promised (length, filter type)
    kTooLarge,      // more pixels than a picture may have
    kNoMemory,
};

// The reason in a few words, for a log line.
const char* Describe(Declined why);

struct Decoded {
    std::shared_ptr<PictureBits> bits;  // every pixel, or none when declined
    Declined declined = Declined::kNot;

    static Decoded Taken(std::shared_ptr<PictureBits> bits) { return {std::move(bits), Declined::kNot}; }
    static Decoded Because(Declined why) { return {nullptr, why}; }
};

}  // namespace platform
