#include "host/Form.h"

#include "host/Twips.h"

namespace host {

Form::Form(const QString& caption, float clientWidth, float clientHeight) : QWidget(nullptr) {
    setWindowTitle(caption);
    // A small font, so every caption fits the classic layout of the controls.
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);
    setFixedSize(TwipsToPixels(clientWidth), TwipsToPixels(clientHeight));
    left_ = PixelsToTwips(pos().x());
    top_ = PixelsToTwips(pos().y());
}

float Form::Coordinate(float kept, int framePixels) const {
    // Once the user (or the window system) has moved the window, the frame's place counts.
    return TwipsToPixels(kept) == framePixels ? kept : PixelsToTwips(framePixels);
}

float Form::Left() const { return Coordinate(left_, frameGeometry().x()); }
float Form::Top() const { return Coordinate(top_, frameGeometry().y()); }

void Form::SetLeft(float twips) {
    left_ = twips;
    move(TwipsToPixels(twips), frameGeometry().y());
}

void Form::SetTop(float twips) {
    top_ = twips;
    move(frameGeometry().x(), TwipsToPixels(twips));
}

void Form::Show() { show(); }

void Form::SetFocus() {
    raise();
    activateWindow();
}

}  // namespace host
