#pragma once
// An option button. Option buttons on the same form form one group: selecting one clears the others.

#include <QRadioButton>

#include "host/Control.h"

namespace host {

class OptionButton : public Control {
public:
    OptionButton(QWidget* form, const char* name, const QString& caption, float left, float top, float width,
                 float height, int tabIndex);
    bool Value() const { return static_cast<QRadioButton*>(Widget())->isChecked(); }
    void SetValue(bool selected) { static_cast<QRadioButton*>(Widget())->setChecked(selected); }
    QString Caption() const { return static_cast<QRadioButton*>(Widget())->text(); }
};

}  // namespace host
