#include "host/PictureCanvas.h"

#include <QPainter>

namespace host {

PictureCanvas::PictureCanvas(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorderPixels);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
}

QImage& PictureCanvas::Image() {
    // The interior follows the widget's geometry, shown or not, in the screen's device pixels, so
    // a scaled screen shows the picture sharp. A new size starts blank; the same size on a screen
    // of another scale keeps what was painted, resampled.
    const QSize interior = contentsRect().size().expandedTo(QSize(0, 0));
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(interior) * ratio).toSize();
    if (interior_ != interior) {
        interior_ = interior;
        image_ = QImage(pixels, QImage::Format_RGB32);
        image_.setDevicePixelRatio(ratio);
        image_.fill(palette().color(QPalette::Window));
    } else if (image_.size() != pixels) {
        image_ = image_.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image_.setDevicePixelRatio(ratio);
    }
    return image_;
}

void PictureCanvas::Clear() {
    Image().fill(palette().color(QPalette::Window));
    update();
}

void PictureCanvas::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), Image());
}

}  // namespace host
