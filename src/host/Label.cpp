#include "host/Label.h"

namespace host {

Label::Label(QWidget* form, const char* name, const QString& caption, float left, float top, float width,
             float height, int tabIndex)
    : Control(new QLabel(caption, form), name, left, top, width, height, tabIndex) {
    Widget()->setFocusPolicy(Qt::NoFocus);
}

}  // namespace host
