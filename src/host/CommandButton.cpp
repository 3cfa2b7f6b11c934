#include "host/CommandButton.h"

#include <QKeyEvent>

#include "host/Events.h"

namespace host {
namespace {

// Enter presses a focused button, as Space does. The toolkit does that only for buttons in dialogs,
// and making ours default buttons would change their look.
class PushButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

}  // namespace

CommandButton::CommandButton(QWidget* form, const char* name, const QString& caption, float left, float top,
                             float width, float height, int tabIndex)
    : Control(new PushButton(caption, form), name, left, top, width, height, tabIndex) {
    Connect(static_cast<QPushButton*>(Widget()), &QPushButton::clicked, [this] {
        if (onClick_) RunEvent(onClick_, Widget());
    });
}

void CommandButton::Click() {
    if (onClick_) onClick_();
}

}  // namespace host
