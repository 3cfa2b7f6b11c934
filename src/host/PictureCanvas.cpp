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
    // The interior follows the widget's geometry, shown or not; a new size starts blank.
    const QSize interior = contentsRect().size().expandedTo(QSize(0, 0));
    if (image_.size() != interior) {
        image_ = QImage(interior, QImage::Format_RGB32);
        image_.fill(palette().color(QPalette::Window));
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
