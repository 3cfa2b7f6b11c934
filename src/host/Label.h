#pragma once
// A caption that takes no focus.

#include <QLabel>

#include "host/Control.h"

namespace host {

class Label : public Control {
public:
    Label(QWidget* form, const char* name, const QString& caption, float left, float top, float width,
          float height, int tabIndex);
    QString Caption() const { return static_cast<QLabel*>(Widget())->text(); }
    // Names the control this caption stands for, so screen readers read the caption as its name.
    void SetBuddy(const Control& control) { static_cast<QLabel*>(Widget())->setBuddy(control.Widget()); }
};

}  // namespace host
