// Gives a headless mutter's seat a keyboard and a pointer, as a desktop session has: mutter adds
// them only for a remote-desktop session, which lasts as long as the D-Bus client that started it.
// So this starts one, prints "ready", and holds it until it is killed.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QThread>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString service = QStringLiteral("org.gnome.Mutter.RemoteDesktop");
    // mutter takes its name on the bus a moment after its Wayland socket appears.
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    for (int i = 0; bus && !bus->isServiceRegistered(service).value() && i < 200; ++i) QThread::msleep(100);
    QDBusInterface desktop(service, QStringLiteral("/org/gnome/Mutter/RemoteDesktop"), service,
                           QDBusConnection::sessionBus());
    QDBusReply<QDBusObjectPath> session = desktop.call(QStringLiteral("CreateSession"));
    if (!session.isValid()) {
        std::fprintf(stderr, "mutterseat: CreateSession: %s\n", qPrintable(session.error().message()));
        return 1;
    }
    QDBusInterface control(service, session.value().path(), service + QStringLiteral(".Session"),
                           QDBusConnection::sessionBus());
    QDBusReply<void> started = control.call(QStringLiteral("Start"));
    if (!started.isValid()) {
        std::fprintf(stderr, "mutterseat: Start: %s\n", qPrintable(started.error().message()));
        return 1;
    }
    // The virtual keyboard joins the seat with its first key: a Shift press and release.
    for (bool pressed : {true, false}) {
        QDBusReply<void> key = control.call(QStringLiteral("NotifyKeyboardKeysym"), 0xffe1u, pressed);
        if (!key.isValid()) {
            std::fprintf(stderr, "mutterseat: NotifyKeyboardKeysym: %s\n", qPrintable(key.error().message()));
            return 1;
        }
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
