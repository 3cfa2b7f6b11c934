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
};

}  // namespace host
