#include "platform/codec/JpegDecoder.h"

#include <turbojpeg.h>

#include <memory>

namespace platform {
namespace {

// One decompressor a thread, made once.
tjhandle Decompressor() {
    thread_local std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitDecompress(), tjDestroy);
    return handle.get();
}

}  // namespace

Decoded DecodeJpeg(std::span<const std::uint8_t> jpeg) {
    tjhandle tj = Decompressor();
    if (!tj) return Decoded::Because(Declined::kNoMemory);
    const auto* data = jpeg.data();
    const auto size = static_cast<unsigned long>(jpeg.size());
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(tj, data, size, &width, &height, &subsampling, &colourspace) != 0)
        return Decoded::Because(Declined::kCutShort);
    if (colourspace == TJCS_CMYK || colourspace == TJCS_YCCK) return Decoded::Because(Declined::kOtherKind);
    if (!PictureBits::Fits(width, height)) return Decoded::Because(Declined::kTooLarge);
    auto bits = PictureBits::Make(width, height);
    if (!bits) return Decoded::Because(Declined::kNoMemory);
    // The picture's rows lie bottom-up, blue, green, red, as the library writes them with these
    // flags; its default (accurate) transform and smooth upsampling are the toolkit's too.
    if (tjDecompress2(tj, data, size, bits->Bits(), width, bits->Stride(), height, TJPF_BGR,
                      TJFLAG_BOTTOMUP | TJFLAG_STOPONWARNING) != 0)
        return Decoded::Because(tjGetErrorCode(tj) == TJERR_WARNING ? Declined::kCutShort
                                                                    : Declined::kBadData);
    return Decoded::Taken(std::move(bits));
}

}  // namespace platform
