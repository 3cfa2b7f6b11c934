#include "host/ErrorNotice.h"

#include <QAccessible>
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

void Build() {
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

// The notice never takes the focus, so screen readers learn of a new text from it: the label's
// name (its text) changed, and the window raises an alert.
void Announce() {
    QAccessibleEvent renamed(label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
    QAccessibleEvent alert(window, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
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
    const bool changed = fresh || label->text() != text;
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
    window->show();
    if (changed) Announce();
}

void ErrorNotice::SetAnchor(QWidget* w) { anchor = w; }

QString ErrorNotice::CurrentText() { return (window && label) ? label->text() : QString(); }

QWidget* ErrorNotice::Window() { return window; }

}  // namespace host
