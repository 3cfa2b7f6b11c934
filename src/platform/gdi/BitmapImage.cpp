#include "platform/gdi/BitmapImage.h"

#include <cstring>

#include "platform/gdi/AreaAverage.h"
#include "platform/gdi/HandleTable.h"
#include "platform/picture/Opaque.h"
#include "platform/picture/PixelRows.h"

namespace platform {

HBITMAP CreateBitmapFromImage(const QImage& image) {
    if (image.isNull()) return 0;
    const QImage pixels = Opaque(image);
    auto bitmap = GdiBitmap::Make(pixels.width(), pixels.height(), 32, false);
    if (!bitmap || pixels.isNull()) return 0;
    // Format_RGB32 holds each pixel as 0xffRRGGBB, which is blue, green, red, unused in memory.
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "pixel bytes are read in little-endian order");
    const Surface& surface = bitmap->surface;
    for (int y = 0; y < surface.height; ++y)
        std::memcpy(surface.Row(y), pixels.constScanLine(y), static_cast<std::size_t>(surface.width) * 4);
    return HandleTable::Instance().Add(std::move(*bitmap));
}

HBITMAP CreateBitmapFromPicture(std::shared_ptr<PictureBits> picture) {
    if (!picture) return 0;
    GdiBitmap bitmap;
    bitmap.surface =
        Surface{picture->Width(), picture->Height(), 3, picture->Stride(), true, picture->Bits()};
    bitmap.picture = std::move(picture);
    return HandleTable::Instance().Add(std::move(bitmap));
}

QImage ReadBitmapImage(HBITMAP hbm) {
    const GdiBitmap* bitmap = HandleTable::Instance().Bitmap(hbm);
    if (bitmap == nullptr) return QImage();
    const Surface& surface = bitmap->surface;
    QImage image(surface.width, surface.height, QImage::Format_RGB32);
    if (image.isNull()) return image;
    for (int y = 0; y < surface.height; ++y) {
        const std::uint8_t* from = surface.Row(y);
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < surface.width; ++x, from += surface.bytesPerPixel)
            to[x] = qRgb(from[2], from[1], from[0]);
    }
    return image;
}

QImage ViewBitmapImage(HBITMAP hbm) {
    const GdiBitmap* bitmap = HandleTable::Instance().Bitmap(hbm);
    if (bitmap == nullptr) return QImage();
    const Surface& surface = bitmap->surface;
    if (surface.bytesPerPixel != 4 || surface.bottomUp || surface.bits == nullptr)
        return ReadBitmapImage(hbm);
    // The fourth byte may be 0 (written by a block transfer); Format_RGB32 ignores it.
    return QImage(surface.bits, surface.width, surface.height, surface.stride, QImage::Format_RGB32);
}

bool ReadBitmapRows(HBITMAP hbm, std::int32_t fromBottom, std::int32_t count, std::uint8_t* rows,
                    std::size_t stride) {
    const GdiBitmap* bitmap = HandleTable::Instance().Bitmap(hbm);
    if (bitmap == nullptr || bitmap->surface.bits == nullptr) return false;
    const Surface& surface = bitmap->surface;
    if (fromBottom < 0 || count < 0 || fromBottom > surface.height - count) return false;
    const std::size_t pixelBytes = std::size_t(surface.width) * 3;
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint8_t* from = surface.Row(surface.height - 1 - (fromBottom + i));
        std::uint8_t* to = rows + std::size_t(i) * stride;
        if (surface.bytesPerPixel == 3)
            std::memcpy(to, from, pixelBytes);
        else
            BgrxToBgr(from, to, std::size_t(surface.width));
        std::memset(to + pixelBytes, 0, stride - pixelBytes);
    }
    return true;
}

QImage ScaledBitmapImage(HBITMAP hbm, int width, int height) {
    const GdiBitmap* bitmap = HandleTable::Instance().Bitmap(hbm);
    if (bitmap == nullptr || width < 1 || height < 1) return QImage();
    const Surface& surface = bitmap->surface;
    if (width <= surface.width && height <= surface.height) return AreaAverage(surface, width, height);
    return ViewBitmapImage(hbm).scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace platform
