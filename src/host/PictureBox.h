#pragma once
// A picture box: a bordered area whose interior (ScaleWidth x ScaleHeight, in twips) can be cleared
// and painted into. With AutoRedraw on, what was painted is kept across repaints.

#include <QImage>

#include "host/Control.h"
#include "host/Picture.h"
#include "host/PictureCanvas.h"

namespace host {

class PictureBox : public Control {
public:
    // The border on each side, in twips.
    static constexpr float kBorderTwips = PictureCanvas::kBorderPixels * 15.0f;

    PictureBox(QWidget* form, const char* name, float left, float top, float width, float height,
               int tabIndex);

    float ScaleWidth() const;
    float ScaleHeight() const;
    bool AutoRedraw() const { return autoRedraw_; }
    void SetAutoRedraw(bool on) { autoRedraw_ = on; }
    void Cls();
    // Draws the whole picture stretched smoothly to width x height at x, y (twips, interior).
    void PaintPicture(const Picture& picture, float x, float y, float width, float height);
    void Refresh();

    // What the interior shows now.
    const QImage& Canvas() const { return canvas_->Image(); }

private:
    PictureCanvas* canvas_;
    bool autoRedraw_ = false;
};

}  // namespace host
