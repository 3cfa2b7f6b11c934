#include "host/ErrorNotice.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

#include "host/App.h"
#include "host/HostError.h"

namespace host {
namespace {

QPointer<QWidget> anchor;
QPointer<QWidget> window;
QPointer<QLabel> label;
// The line last written to standard error, without its time stamp; empty once resolved.
QString lastLogged;

void Log(const QString& line) {
    std::fprintf(stderr, "%s %s: %s\n", qPrintable(QDateTime::currentDateTime().toString(Qt::ISODateWithMs)),
                 qPrintable(App::EXEName()), qPrintable(line));
    std::fflush(stderr);
}

// Screen readers speak a notification when it shows, with the labels inside it; a plain window they
// leave unspoken, as they do a label whose text changes away from the focus.
QAccessibleInterface* NotificationRole(const QString&, QObject* object) {
    if (object != window || !object->isWidgetType()) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
}

void Build() {
    static const bool roleInstalled = (QAccessible::installFactory(&NotificationRole), true);
    (void)roleInstalled;
    window = new QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setWindowTitle(App::EXEName());
    window->setObjectName(QStringLiteral("ErrorNotice"));
    auto* layout = new QVBoxLayout(window);
    label = new QLabel(window);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    label->setMinimumWidth(240);
    auto* ok = new QPushButton(QStringLiteral("OK"), window);
    QObject::connect(ok, &QPushButton::clicked, window, &QWidget::close);
    layout->addWidget(label);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

// The notice never takes the focus, and screen readers pass over a label whose text changes away
// from the focus: a new text in a notice already shown is told as the notification shown again.
void Announce() {
    QAccessibleEvent shown(window, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

}  // namespace

QString ErrorNotice::TextFor(const HostError& error) {
    QString text = QStringLiteral("Run-time error '%1':\n\n%2").arg(error.Number()).arg(error.Description());
    if (!error.Detail().isEmpty()) text += QStringLiteral("\n\n") + error.Detail();
    return text;
}

void ErrorNotice::Resolved(const QString& what) {
    if (lastLogged.isEmpty() && !window) return;
    if (!lastLogged.isEmpty()) Log(QStringLiteral("resolved: ") + what);
    lastLogged.clear();
    if (window) window->close();
}

void ErrorNotice::Show(const HostError& error) {
    const QString text = TextFor(error);
    const QString line =
        QStringLiteral("%1 (source %2)")
            .arg(QString(text).replace(QStringLiteral("\n\n"), QStringLiteral(" ")), error.Source());
    if (line != lastLogged) Log(line);
    lastLogged = line;

    const bool fresh = !window;
    if (fresh) Build();
    const bool changed = label->text() != text;
    const bool shown = window->isVisible();
    label->setText(text);
    window->adjustSize();
    if (fresh && anchor) {
        // Below the main window, where the folder chooser (beside it) is not; beside it when the
        // screen has no room below.
        const QRect frame = anchor->frameGeometry();
        QPoint place(frame.left(), frame.bottom() + 8);
        const QScreen* screen = anchor->screen();
        if (screen && place.y() + window->frameGeometry().height() > screen->availableGeometry().bottom())
            place = QPoint(frame.right() + 8, frame.top());
        window->move(place);
    }
    window->show();  // a window that was not shown is told of by the toolkit
    if (shown && changed) Announce();
}

void ErrorNotice::SetAnchor(QWidget* w) { anchor = w; }

QString ErrorNotice::CurrentText() { return (window && label) ? label->text() : QString(); }

QWidget* ErrorNotice::Window() { return window; }

}  // namespace host
