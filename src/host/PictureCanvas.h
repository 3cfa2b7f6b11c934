#pragma once
// The widget under a picture box: a sunken frame around an interior that shows a kept image, so
// what was painted survives repaints until it is cleared.

#include <QFrame>
#include <QImage>

namespace host {

class PictureCanvas : public QFrame {
public:
    static constexpr int kBorderPixels = 2;

    explicit PictureCanvas(QWidget* parent);

    // The kept image, the size of the interior in the screen's device pixels (its device pixel
    // ratio says how many a pixel of the widget has); painted into by the picture box.
    QImage& Image();
    void Clear();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
    QSize interior_;  // in the widget's pixels
};

}  // namespace host
