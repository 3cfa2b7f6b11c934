#include "host/Control.h"

#include <algorithm>

#include "host/Twips.h"

namespace host {

Control::Control(QWidget* widget, const char* name, float left, float top, float width, float height,
                 int tabIndex)
    : widget_(widget), left_(left), top_(top), width_(width), height_(height), tabIndex_(tabIndex) {
    widget_->setObjectName(QString::fromLatin1(name));
    Place();
}

Control::~Control() {
    for (const QMetaObject::Connection& connection : connections_) QObject::disconnect(connection);
}

void Control::SetLeft(float twips) {
    left_ = twips;
    Place();
}
void Control::SetTop(float twips) {
    top_ = twips;
    Place();
}
void Control::SetWidth(float twips) {
    width_ = twips;
    Place();
}
void Control::SetHeight(float twips) {
    height_ = twips;
    Place();
}
void Control::Move(float left, float top, float width, float height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Place();
}

void Control::Place() {
    widget_->setGeometry(TwipsToPixels(left_), TwipsToPixels(top_), std::max(0, TwipsToPixels(width_)),
                         std::max(0, TwipsToPixels(height_)));
}

void Control::SetFocus() { widget_->setFocus(Qt::OtherFocusReason); }

void Control::SetTabOrder(std::vector<Control*> controls) {
    std::stable_sort(controls.begin(), controls.end(),
                     [](const Control* a, const Control* b) { return a->TabIndex() < b->TabIndex(); });
    controls.erase(std::remove_if(controls.begin(), controls.end(),
                                  [](const Control* c) { return c->Widget()->focusPolicy() == Qt::NoFocus; }),
                   controls.end());
    for (size_t i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls[i - 1]->Widget(), controls[i]->Widget());
}

}  // namespace host
