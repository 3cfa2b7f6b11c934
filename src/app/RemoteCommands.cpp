#include "app/RemoteCommands.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <memory>

#include "app/Form1.h"
#include "app/RunStatus.h"
#include "app/ShowWindow.h"
#include "app/SingleInstance.h"
#include "host/Events.h"

namespace {

// How long a command line waits for the running copy's answer: it answers between two events.
constexpr std::chrono::milliseconds kAnswerPatience{10000};

// Whether the program at the other end of the socket runs as this user.
bool FromThisUser(qintptr descriptor) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           length == sizeof peer && peer.uid == ::getuid();
}

void Serve(QLocalSocket* peer, const CommandAnswer& answer) {
    QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
    if (!FromThisUser(peer->socketDescriptor())) {
        peer->abort();
        peer->deleteLater();
        return;
    }
    auto* patience = new QTimer(peer);
    patience->setSingleShot(true);
    QObject::connect(patience, &QTimer::timeout, peer, [peer] {
        peer->abort();
        peer->deleteLater();
    });
    patience->start(kCommandPatience);
    auto heard = std::make_shared<QMetaObject::Connection>();
    *heard = QObject::connect(peer, &QLocalSocket::readyRead, peer, [peer, answer, heard, patience] {
        if (!peer->canReadLine() && peer->bytesAvailable() < kMaxCommandLine) return;  // more to come
        QObject::disconnect(*heard);
        patience->stop();  // the answer may wait for a handler that is running
        const QByteArray line = peer->readLine(kMaxCommandLine + 1);
        if (!line.endsWith('\n')) {  // longer than any command
            peer->abort();
            peer->deleteLater();
            return;
        }
        host::RunEvent(
            [peer, answer, command = line.trimmed()] {
                const QByteArray reply = answer(command);
                if (!reply.isEmpty()) peer->write(reply + '\n');
                peer->disconnectFromServer();
            },
            peer);
    });
}

}  // namespace

void ServeCommands(QLocalServer& server, CommandAnswer answer) {
    auto serving = std::make_shared<int>(0);
    QObject::connect(&server, &QLocalServer::newConnection, &server, [&server, answer, serving] {
        while (QLocalSocket* peer = server.nextPendingConnection()) {
            if (*serving >= kMostClients) {
                peer->abort();
                peer->deleteLater();
                continue;
            }
            ++*serving;
            QObject::connect(peer, &QObject::destroyed, [serving] { --*serving; });
            Serve(peer, answer);
        }
    });
}

QByteArray AnswerCommand(const QByteArray& command) {
    if (command == "raise") {
        ShowMainWindow();
        return {};
    }
    // Commands are answered from the event loop, which runs only once the main window exists.
    Form1& form = MainForm();
    if (command == "pause")
        form.Watch.SetPaused(true);
    else if (command == "resume")
        form.Watch.SetPaused(false);
    else if (command == "toggle")
        form.Watch.Toggle();
    else if (command != "status")
        return {};
    return StatusLine(form).toUtf8();
}

namespace {

// A connection to the running copy's socket; -1 when none listens there.
int Connect(const QByteArray& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) return -1;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Everything the running copy sends until it closes the connection, or until the patience runs
// out; nothing when it sent nothing.
QByteArray ReadAnswer(int fd) {
    QByteArray answer;
    const auto deadline = std::chrono::steady_clock::now() + kAnswerPatience;
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        pollfd wait{fd, POLLIN, 0};
        if (left <= 0 || ::poll(&wait, 1, static_cast<int>(left)) <= 0) return {};  // no answer in time
        char chunk[512];
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return answer;
        answer.append(chunk, got);
        if (answer.size() > 4096) return answer;
    }
}

}  // namespace

int SendToRunningCopy(const char* command, std::FILE* out, std::FILE* err) {
    const int fd = Connect(CommandSocketPath());
    if (fd < 0) {
        std::fprintf(err, "tallowin: Tallowin is not running on this display; nothing was done.\n");
        return 3;
    }
    const QByteArray line = QByteArray(command) + '\n';
    const bool sent = ::send(fd, line.constData(), static_cast<std::size_t>(line.size()), MSG_NOSIGNAL) ==
                      static_cast<ssize_t>(line.size());
    const QByteArray answer = sent ? ReadAnswer(fd) : QByteArray();
    ::close(fd);
    if (answer.isEmpty()) {
        std::fprintf(err, "tallowin: the running copy of Tallowin did not answer.\n");
        return 1;
    }
    std::fwrite(answer.constData(), 1, static_cast<std::size_t>(answer.size()), out);
    return 0;
}
