#pragma once
// The host's picture object: one bitmap, with its size in HIMETRIC (hundredths of a millimetre,
// at 96 pixels an inch). The picture owns its bitmap and frees it when it goes.

#include <QImage>
#include <cstdint>
#include <memory>

#include "platform/gdi/GdiTypes.h"
#include "platform/picture/PictureBits.h"

namespace host {

class Picture {
public:
    // A picture without a bitmap: Handle() 0, sizes 0.
    Picture() = default;
    // A picture holding exactly the image's pixels; without a bitmap for a null image.
    explicit Picture(const QImage& image);
    // A picture over a decoded picture's pixels, without a copy; without a bitmap for none.
    explicit Picture(std::shared_ptr<platform::PictureBits> picture);
    ~Picture();
    Picture(Picture&& other) noexcept;
    Picture& operator=(Picture&& other) noexcept;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    platform::HBITMAP Handle() const { return handle_; }
    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    // A copy of the bitmap's pixels; a null image when there is no bitmap.
    QImage ToImage() const;
    // The bitmap's pixels for reading at once, without a copy where possible; valid while the
    // picture lives and its bitmap is not changed.
    QImage View() const;
    // The picture scaled to width x height pixels for showing (area-averaged when it shrinks); a
    // null image when there is no bitmap.
    QImage Scaled(int width, int height) const;

private:
    void Release();

    platform::HBITMAP handle_ = 0;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

}  // namespace host
