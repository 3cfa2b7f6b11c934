#pragma once
// A top-level window with its place on the screen in twips. Left and Top are the outer frame's
// position, as the window system reports it; the client area has a fixed size in twips.

#include <QWidget>

namespace host {

class Form : public QWidget {
public:
    Form(const QString& caption, float clientWidth, float clientHeight);

    float Left() const;
    float Top() const;
    void SetLeft(float twips);
    void SetTop(float twips);

    // Shows the window without making it modal.
    void Show();
    void Hide() { hide(); }
    // Brings the window to the front and gives it the keyboard focus.
    void SetFocus();

private:
    float Coordinate(float kept, int framePixels) const;

    // The position last assigned, kept exactly; it reads back as long as the frame stands there.
    float left_ = 0, top_ = 0;
};

}  // namespace host
