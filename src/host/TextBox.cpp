#include "host/TextBox.h"

#include "host/Events.h"

namespace host {

TextBox::TextBox(QWidget* form, const char* name, float left, float top, float width, float height,
                 int tabIndex)
    : Control(new QLineEdit(form), name, left, top, width, height, tabIndex),
      edit_(static_cast<QLineEdit*>(Widget())) {
    Connect(edit_, &QLineEdit::textEdited, [this] {
        if (onChange_) RunEvent(onChange_, edit_);
    });
}

QString TextBox::Text() const { return edit_->text(); }

void TextBox::SetText(const QString& text) {
    if (text == edit_->text()) return;
    edit_->setText(text);
    if (onChange_) onChange_();
}

}  // namespace host
