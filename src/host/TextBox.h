#pragma once
// A single-line text box. Its change handler runs on every edit by the user and, nested inside the
// assignment, whenever code assigns a different text.

#include <QLineEdit>
#include <functional>

#include "host/Control.h"

namespace host {

class TextBox : public Control {
public:
    TextBox(QWidget* form, const char* name, float left, float top, float width, float height, int tabIndex);

    QString Text() const;
    void SetText(const QString& text);
    void OnChange(std::function<void()> handler) { onChange_ = std::move(handler); }
    QLineEdit* Edit() const { return edit_; }

private:
    QLineEdit* edit_;
    std::function<void()> onChange_;
};

}  // namespace host
