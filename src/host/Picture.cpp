#include "host/Picture.h"

#include <utility>

#include "host/Checked.h"
#include "platform/gdi/BitmapImage.h"
#include "platform/gdi/Gdi.h"

namespace host {

namespace {
// Pixels at 96 an inch to HIMETRIC.
std::int32_t Himetric(int pixels) { return checked::CLng(pixels * 2540.0 / 96.0); }
}  // namespace

Picture::Picture(const QImage& image) : handle_(platform::CreateBitmapFromImage(image)) {
    if (handle_ != 0) {
        width_ = Himetric(image.width());
        height_ = Himetric(image.height());
    }
}

Picture::Picture(std::shared_ptr<platform::PictureBits> picture) {
    if (!picture) return;
    const int width = picture->Width(), height = picture->Height();
    handle_ = platform::CreateBitmapFromPicture(std::move(picture));
    if (handle_ != 0) {
        width_ = Himetric(width);
        height_ = Himetric(height);
    }
}

Picture::~Picture() { Release(); }

Picture::Picture(Picture&& other) noexcept
    : handle_(std::exchange(other.handle_, 0)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

Picture& Picture::operator=(Picture&& other) noexcept {
    if (this != &other) {
        Release();
        handle_ = std::exchange(other.handle_, 0);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
    }
    return *this;
}

QImage Picture::ToImage() const { return platform::ReadBitmapImage(handle_); }

QImage Picture::View() const { return platform::ViewBitmapImage(handle_); }

QImage Picture::Scaled(int width, int height) const {
    return platform::ScaledBitmapImage(handle_, width, height);
}

void Picture::Release() {
    if (handle_ != 0) platform::DeleteObject(handle_);
    handle_ = 0;
    width_ = height_ = 0;
}

}  // namespace host
