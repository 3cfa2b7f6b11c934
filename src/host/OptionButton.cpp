#include "host/OptionButton.h"

namespace host {

OptionButton::OptionButton(QWidget* form, const char* name, const QString& caption, float left, float top,
                           float width, float height, int tabIndex)
    : Control(new QRadioButton(caption, form), name, left, top, width, height, tabIndex) {}

}  // namespace host
