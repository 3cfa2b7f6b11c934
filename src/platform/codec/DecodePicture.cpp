#include "platform/codec/DecodePicture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QLoggingCategory>
#include <mutex>
#include <optional>

#include "platform/codec/BmpDecoder.h"
#include "platform/codec/JpegDecoder.h"
#include "platform/codec/PictureCheck.h"
#include "platform/codec/PictureFormat.h"
#include "platform/codec/PngDecoder.h"
#include "platform/picture/Opaque.h"

namespace platform {
namespace {

using Outcome = DecodedPicture::Outcome;

// The toolkit refuses to allocate more than 128 MB for one picture by default, which stops at
// about 8000 x 4000. Our limit is the bitmap's own (checked before decoding); this leaves room for
// the widest form a decoder uses on the way (16-bit RGBA, 8 bytes a pixel).
constexpr int kAllocationLimitMb = 2 * 1024 + 256;

Q_LOGGING_CATEGORY(decoding, "tallowin.decoding", QtWarningMsg)

// Both ways in: `takeable`, when given, holds `bytes` and may become the picture's memory.
DecodedPicture Decode(std::span<const std::uint8_t> bytes, PixelBytes* takeable) {
    static std::once_flag limitSet;
    std::call_once(limitSet, [] { QImageReader::setAllocationLimit(kAllocationLimitMb); });

    DecodedPicture result;
    const auto tooLarge = [&](QSize size) {
        result.size = size;
        result.outcome = Outcome::kTooLarge;
        return result;
    };
    // The bytes' own format picks the check and our decoder; each header is read once, for both.
    // A file whose header claims what its bytes cannot hold is no picture; our decoders decline
    // what they do not take, and the toolkit decides.
    bool broken = false;
    const auto ours = [&]() -> Decoded {
        const auto checked = [&](const PictureClaim& claim, auto decode) {
            result.size = claim.size;
            broken = claim.verdict == PictureClaim::Verdict::kBroken;
            if (broken) return Decoded::Because(Declined::kCutShort);
            if (claim.size.isValid() && !PictureBits::Fits(claim.size.width(), claim.size.height()))
                return Decoded::Because(Declined::kTooLarge);
            return decode();
        };
        switch (FormatOf(bytes)) {
            case PictureFormat::kPng: {
                const std::optional<PngHeader> header = ReadPngHeader(bytes);
                if (!header) return broken = true, Decoded::Because(Declined::kCutShort);
                return checked(CheckPngFile(bytes, *header), [&] { return DecodeScreenPng(bytes, *header); });
            }
            case PictureFormat::kBitmap: {
                const std::optional<BmpHeader> header = ReadBmpHeader(bytes);
                if (!header) return broken = true, Decoded::Because(Declined::kCutShort);
                return checked(CheckBitmapFile(bytes, *header), [&] {
                    return takeable ? AdoptPlainBmp(*takeable, *header) : DecodePlainBmp(bytes, *header);
                });
            }
            case PictureFormat::kJpeg: {
                // Whole or none: a JPEG the library has to warn about is no picture.
                Decoded decoded = checked(CheckJpegFile(bytes), [&] { return DecodeJpeg(bytes); });
                broken = broken || decoded.declined == Declined::kCutShort ||
                         decoded.declined == Declined::kBadData;
                return decoded;
            }
            case PictureFormat::kOther:
                break;
        }
        return Decoded::Because(Declined::kOtherFormat);
    };
    Decoded decoded = ours();
    if (decoded.bits) {
        result.size = QSize(decoded.bits->Width(), decoded.bits->Height());
        result.bits = std::move(decoded.bits);
        result.outcome = Outcome::kPicture;
        return result;
    }
    // A file that is not whole, or larger than a picture may be, is no picture by any decoder.
    if (broken) return result;
    // (A JPEG's size is known to its decoder only: the toolkit's reader tells it below.)
    if (decoded.declined == Declined::kTooLarge && result.size.isValid()) return tooLarge(result.size);
    qCDebug(decoding) << "our decoder declined the picture:" << Describe(decoded.declined)
                      << "; the toolkit decides";

    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (!result.size.isValid()) result.size = reader.size();
    if (result.size.isValid() && !PictureBits::Fits(result.size.width(), result.size.height()))
        return tooLarge(result.size);
    QImage image;
    if (!reader.read(&image) || image.isNull()) return result;
    result.size = image.size();
    if (!PictureBits::Fits(image.width(), image.height())) return tooLarge(image.size());
    result.bits = PictureBits::FromImage(Opaque(image));
    if (!result.bits) return result;  // memory is short
    result.outcome = Outcome::kPicture;
    return result;
}

}  // namespace

DecodedPicture DecodePicture(std::span<const std::uint8_t> bytes) { return Decode(bytes, nullptr); }

DecodedPicture DecodePicture(PixelBytes& bytes) { return Decode(bytes, &bytes); }

}  // namespace platform
