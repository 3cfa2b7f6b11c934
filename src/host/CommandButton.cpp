#include "host/CommandButton.h"

#include "host/Events.h"

namespace host {

CommandButton::CommandButton(QWidget* form, const char* name, const QString& caption, float left, float top,
                             float width, float height, int tabIndex)
    : Control(new QPushButton(caption, form), name, left, top, width, height, tabIndex) {
    Connect(static_cast<QPushButton*>(Widget()), &QPushButton::clicked, [this] {
        if (onClick_) RunEvent(onClick_, Widget());
    });
}

void CommandButton::Click() {
    if (onClick_) onClick_();
}

}  // namespace host
