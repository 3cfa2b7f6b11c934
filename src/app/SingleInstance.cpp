#include "app/SingleInstance.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <cstdio>

#include "app/RemoteCommands.h"

namespace {

// A folder only this user may enter: theirs, not a link, no one else's bits.
bool Private(const QByteArray& folder) {
    struct stat st {};
    return ::lstat(folder.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 077) == 0;
}

// Where the lock and the socket live: one place for the user however the program is started, so
// that no environment (su, cron, sudo -u, a session without XDG_RUNTIME_DIR) makes a second copy
// miss the first. The system's runtime folder of the user where there is one, else a folder of the
// user's own under the home that the password database names; never a shared folder that another
// user could make first. The runtime folder the environment names serves only where neither can
// be had (a user without a home). Empty when no private folder can be had.
QByteArray LockFolder() {
    const QByteArray runtime = "/run/user/" + QByteArray::number(::getuid());
    if (Private(runtime)) return runtime;
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir && *user->pw_dir) {
        const QByteArray cache = QByteArray(user->pw_dir) + "/.cache";
        const QByteArray own = cache + "/tallowin";
        ::mkdir(cache.constData(), 0700);
        ::mkdir(own.constData(), 0700);
        if (Private(own)) return own;
    }
    const QByteArray named = qgetenv("XDG_RUNTIME_DIR");
    if (!named.isEmpty() && Private(named)) return named;
    return {};
}

}  // namespace

QByteArray DisplayKey(QByteArray display, const QByteArray& waylandDisplay) {
    if (display.isEmpty()) {
        // The compositor's socket, by its name (a path names its last part).
        QByteArray socket = waylandDisplay.isEmpty() ? QByteArray("wayland-0") : waylandDisplay;
        socket = socket.mid(socket.lastIndexOf('/') + 1);
        return "wayland-" + socket;
    }
    // [host]:number[.screen]: the screen does not matter, and the local ways to one server
    // (":1", "unix:1", "host/unix:1") are the same display.
    const int colon = display.lastIndexOf(':');
    if (colon < 0) return display.replace('/', '_');
    QByteArray host = display.left(colon);
    QByteArray number = display.mid(colon + 1);
    if (const int dot = number.indexOf('.'); dot >= 0) number.truncate(dot);
    if (host == "unix" || host.endsWith("/unix")) host.clear();
    QByteArray key = host + ":" + number;
    return key.replace('/', '_');
}

namespace {

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

// The lock's and the socket's path without their endings; empty when no private folder can be had.
QByteArray InstanceBase() {
    const QByteArray folder = LockFolder();
    if (folder.isEmpty()) return {};
    return folder + "/tallowin-" + DisplayKey(qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"));
}

}  // namespace

QByteArray CommandSocketPath() {
    const QByteArray base = InstanceBase();
    return base.isEmpty() ? base : base + ".socket";
}

bool HandOverToRunningCopy() {
    const QByteArray base = InstanceBase();
    if (base.isEmpty()) {
        std::fprintf(
            stderr,
            "Tallowin: no private folder for the one-copy lock; a second copy would not be stopped.\n");
        return false;
    }

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
    ServeCommands(*server, AnswerCommand);
    return false;
}
