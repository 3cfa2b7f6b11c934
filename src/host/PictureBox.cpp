#include "host/PictureBox.h"

#include <QPainter>
#include <algorithm>

#include "host/Twips.h"

namespace host {

PictureBox::PictureBox(QWidget* form, const char* name, float left, float top, float width, float height,
                       int tabIndex)
    : Control(new PictureCanvas(form), name, left, top, width, height, tabIndex),
      canvas_(static_cast<PictureCanvas*>(Widget())) {}

float PictureBox::ScaleWidth() const { return std::max(0.0f, Width() - 2 * kBorderTwips); }
float PictureBox::ScaleHeight() const { return std::max(0.0f, Height() - 2 * kBorderTwips); }

void PictureBox::Cls() { canvas_->Clear(); }

void PictureBox::PaintPicture(const Picture& picture, float x, float y, float width, float height) {
    const int w = TwipsToPixels(width), h = TwipsToPixels(height);
    if (w <= 0 || h <= 0) return;
    // Area-averaged straight from the picture's rows, so a large grab becomes a clean thumbnail, to
    // the device pixels of the screen (twice as many each way at scale 2); drawn at its place in pixels.
    QImage& target = canvas_->Image();
    const qreal ratio = target.devicePixelRatio();
    QImage scaled = picture.Scaled(qRound(w * ratio), qRound(h * ratio));
    if (scaled.isNull()) return;
    scaled.setDevicePixelRatio(ratio);
    QPainter painter(&target);
    painter.drawImage(QPointF(TwipsToPixels(x), TwipsToPixels(y)), scaled);
    painter.end();
    canvas_->update();
}

void PictureBox::Refresh() { canvas_->update(); }

}  // namespace host
