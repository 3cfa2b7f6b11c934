#include "app/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <cstdio>

#include "app/Form1.h"

namespace {

// Where the lock and the socket live: the user's runtime folder, or a private folder in /tmp.
QByteArray RuntimeFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (!runtime.isEmpty() && ::stat(runtime.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
        st.st_uid == ::getuid())
        return runtime;
    const QByteArray own = "/tmp/tallowin-" + QByteArray::number(::getuid());
    ::mkdir(own.constData(), 0700);
    if (::lstat(own.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid()) return own;
    return {};
}

// The display this copy works on, as one file-name part: ":1.0" and ":1" are the same clipboard.
QByteArray DisplayKey() {
    QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty()) display = "wayland-" + qgetenv("WAYLAND_DISPLAY");
    const int colon = display.lastIndexOf(':');
    const int dot = display.indexOf('.', colon < 0 ? 0 : colon);
    if (colon >= 0 && dot > colon) display.truncate(dot);
    display.replace('/', '_');
    return display;
}

// Asks the running copy to raise its window; it may still be starting, so try for a while.
bool AskToRaise(const QString& socketPath) {
    for (int attempt = 0; attempt < 40; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(250)) {
            socket.write("raise\n");
            const bool sent = socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(50);
    }
    return false;
}

void RaiseMainWindow() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* form = dynamic_cast<Form1*>(window);
        if (!form) continue;
        form->setWindowState(form->windowState() & ~Qt::WindowMinimized);
        form->Show();
        form->SetFocus();
    }
}

}  // namespace

bool HandOverToRunningCopy() {
    const QByteArray folder = RuntimeFolder();
    if (folder.isEmpty()) return false;  // nowhere to coordinate: run as before
    const QByteArray base = folder + "/tallowin-" + DisplayKey();

    // The lock is held until the process ends, however it ends: a killed copy leaves none behind.
    const int lock = ::open((base + ".lock").constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock < 0) return false;
    const QString socketPath = QString::fromLocal8Bit(base + ".socket");
    if (::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        ::close(lock);
        const bool raised = AskToRaise(socketPath);
        std::fprintf(stderr, "Tallowin is already running on this display%s; this copy ends.\n",
                     raised ? " and its window was brought to the front" : "");
        return true;
    }

    // Only the holder of the lock listens, so a socket left by a killed copy can go.
    QLocalServer::removeServer(socketPath);
    auto* server = new QLocalServer(qApp);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(socketPath)) return false;
    QObject::connect(server, &QLocalServer::newConnection, server, [server] {
        while (QLocalSocket* peer = server->nextPendingConnection()) {
            QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            RaiseMainWindow();
        }
    });
    return false;
}
