#pragma once
// A push button with a click handler.

#include <QPushButton>
#include <functional>

#include "host/Control.h"

namespace host {

class CommandButton : public Control {
public:
    CommandButton(QWidget* form, const char* name, const QString& caption, float left, float top, float width,
                  float height, int tabIndex);
    QString Caption() const { return static_cast<QPushButton*>(Widget())->text(); }
    void OnClick(std::function<void()> handler) { onClick_ = std::move(handler); }
    // What a click does, for code that presses the button.
    void Click();

private:
    std::function<void()> onClick_;
};

}  // namespace host
