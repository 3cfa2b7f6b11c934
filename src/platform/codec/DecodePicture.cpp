#include "platform/codec/DecodePicture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <mutex>

#include "platform/gdi/BitmapImage.h"
#include "platform/codec/BmpDecoder.h"
#include "platform/codec/PictureCheck.h"
#include "platform/codec/PngDecoder.h"

namespace platform {
namespace {

using Outcome = DecodedPicture::Outcome;

// The toolkit refuses to allocate more than 128 MB for one picture by default, which stops at
// about 8000 x 4000. Our limit is the bitmap's own (checked before decoding); this leaves room for
// the widest form a decoder uses on the way (16-bit RGBA, 8 bytes a pixel).
constexpr int kAllocationLimitMb = 2 * 1024 + 256;

PictureClaim Check(std::string_view type, std::span<const std::uint8_t> bytes) {
    if (type.find("bmp") != std::string_view::npos) return CheckBitmapFile(bytes);
    if (type.find("png") != std::string_view::npos) return CheckPngFile(bytes);
    if (type.find("jpeg") != std::string_view::npos || type.find("jpg") != std::string_view::npos)
        return CheckJpegFile(bytes);
    return {PictureClaim::Verdict::kPlausible, QSize()};
}

bool IsPng(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 4 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G';
}
bool IsBmp(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

// Both ways in: `takeable`, when given, holds `bytes` and may become the picture's memory.
DecodedPicture Decode(std::string_view type, std::span<const std::uint8_t> bytes, PixelBytes* takeable) {
    static std::once_flag limitSet;
    std::call_once(limitSet, [] { QImageReader::setAllocationLimit(kAllocationLimitMb); });

    DecodedPicture result;
    const PictureClaim claim = Check(type, bytes);
    result.size = claim.size;
    if (claim.verdict == PictureClaim::Verdict::kBroken) return result;

    if (claim.size.isValid() && !FitsBitmap(claim.size)) {
        result.outcome = Outcome::kTooLarge;
        return result;
    }
    // Our own decoders first; they decline what they do not take, and the toolkit decides.
    const auto ours = [&]() -> std::shared_ptr<PictureBits> {
        if (IsPng(bytes)) return DecodeScreenPng(bytes);
        if (IsBmp(bytes)) return takeable ? TakePlainBmp(*takeable) : DecodePlainBmp(bytes);
        return nullptr;
    };
    if (auto bits = ours()) {
        result.size = QSize(bits->Width(), bits->Height());
        result.bits = std::move(bits);
        result.outcome = Outcome::kPicture;
        return result;
    }

    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (!result.size.isValid()) result.size = reader.size();
    if (result.size.isValid() && !FitsBitmap(result.size)) {
        result.outcome = Outcome::kTooLarge;
        return result;
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) return result;
    result.size = image.size();
    if (!FitsBitmap(image.size())) {
        result.outcome = Outcome::kTooLarge;
        return result;
    }
    result.bits = PictureBits::FromImage(Opaque(image));
    if (!result.bits) return result;  // memory is short
    result.outcome = Outcome::kPicture;
    return result;
}

}  // namespace

DecodedPicture DecodePicture(std::string_view type, std::span<const std::uint8_t> bytes) {
    return Decode(type, bytes, nullptr);
}

DecodedPicture DecodePicture(std::string_view type, PixelBytes& bytes) { return Decode(type, bytes, &bytes); }

}  // namespace platform
