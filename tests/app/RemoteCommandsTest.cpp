// The running copy's command socket: it answers one short line from its own user, turns away
// what is no command without holding up the window, and the commands change and tell the state.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLocalServer>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <future>

#include "app/LoadedForm.h"
#include "app/RemoteCommands.h"
#include "app/SingleInstance.h"
#include "host/Clipboard.h"
#include "support/GrabImage.h"
#include "support/TempHome.h"

namespace {

// What a client gets back for `sent`: the answer, or "" when the connection was closed without
// one. Runs off the interface thread, whose event loop the server needs.
std::future<std::string> Client(const QString& path, std::string sent) {
    return std::async(std::launch::async, [path = path.toStdString(), sent] {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
            return std::string("no connection");
        if (!sent.empty()) ::send(fd, sent.data(), sent.size(), MSG_NOSIGNAL);
        std::string answer;
        char chunk[256];
        for (ssize_t got; (got = ::read(fd, chunk, sizeof chunk)) > 0;)
            answer.append(chunk, static_cast<std::size_t>(got));
        ::close(fd);
        return answer;
    });
}

// Runs the event loop until the future is ready (or 10 s passed).
template <typename T>
T Wait(std::future<T>& result) {
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 10000));
    return result.get();
}

class CommandSocket : public ::testing::Test {
protected:
    void SetUp() override {
        // Anyone may reach this one, so that the server's own check is what turns strangers away.
        server.setSocketOptions(QLocalServer::WorldAccessOption);
        ASSERT_TRUE(server.listen(path));
        ServeCommands(server, [this](const QByteArray& command) {
            heard.push_back(command);
            return "answer to " + command;
        });
    }

    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("commands.socket"));
    QLocalServer server;
    std::vector<QByteArray> heard;
};

TEST_F(CommandSocket, AnswersOneLineFromItsOwnUser) {
    auto answer = Client(path, "status\n");
    EXPECT_EQ(Wait(answer), "answer to status\n");
    EXPECT_EQ(heard, std::vector<QByteArray>{"status"});
}

TEST_F(CommandSocket, TurnsAwayWhatIsNoCommand) {
    // A line longer than any command, and a client that sends nothing: each is let go of without
    // an answer, the silent one once its time is up.
    auto tooLong = Client(path, std::string(5000, 'x') + "\n");
    const auto start = std::chrono::steady_clock::now();
    auto silent = Client(path, "");
    EXPECT_EQ(Wait(tooLong), "");
    EXPECT_EQ(Wait(silent), "");
    EXPECT_GE(std::chrono::steady_clock::now() - start, kCommandPatience - std::chrono::milliseconds(100));
    EXPECT_TRUE(heard.empty());
}

TEST_F(CommandSocket, AnswersNoOtherUser) {
    if (::getuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    ASSERT_EQ(::chmod(folder.path().toLocal8Bit().constData(), 0755), 0);
    sockaddr_un address{};  // made before the fork: the child only makes system calls
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.toLocal8Bit().constData(), sizeof address.sun_path - 1);
    const pid_t child = ::fork();
    if (child == 0) {
        // Another user, who may reach the socket but must not command the program.
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) ::_exit(3);
        ::send(fd, "pause\n", 6, MSG_NOSIGNAL);
        char reply[64];
        ::_exit(::read(fd, reply, sizeof reply) <= 0 ? 0 : 1);  // closed, or reset
    }
    int status = -1;
    EXPECT_TRUE(QTest::qWaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 10000));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: answered, 2: could not become another user, 3: no connection";
    EXPECT_TRUE(heard.empty());
}

// The main window as commands find it.
class Commands : public testing_support::LoadedForm {
protected:
    QString status(const char* command) { return QString::fromUtf8(AnswerCommand(command)); }
};

TEST_F(Commands, ChangeTheStateAndAnswerWithIt) {
    const QString target = QStringLiteral("target C:\\ (%1)").arg(QString::fromStdString(home.Path()));
    EXPECT_EQ(status("status"), "watching; " + target + "; next file scrn000.jpg; 0 grabs saved");
    EXPECT_EQ(status("pause"), "paused; " + target + "; next file scrn000.jpg; 0 grabs saved");
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tallowin (paused)"));
    EXPECT_EQ(status("pause"), "paused; " + target + "; next file scrn000.jpg; 0 grabs saved");
    EXPECT_TRUE(status("toggle").startsWith(QStringLiteral("watching; ")));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tallowin"));
    EXPECT_TRUE(status("toggle").startsWith(QStringLiteral("paused; ")));
    EXPECT_TRUE(status("resume").startsWith(QStringLiteral("watching; ")));
    EXPECT_TRUE(status("resume").startsWith(QStringLiteral("watching; ")));
    EXPECT_EQ(status("Pause"), QString());
    EXPECT_EQ(status("raise"), QString());
}

TEST_F(Commands, APausedTickLeavesTheClipboardAloneAndTheResumeToo) {
    form.Watch.SetPaused(true);
    QGuiApplication::clipboard()->setImage(testing_support::Grab(40, 30, qRgb(200, 30, 90)));
    form.Timer1.Tick();
    form.Watch.SetPaused(false);
    form.Timer1.Tick();
    EXPECT_FALSE(testing_support::FileExists(home / "scrn000.jpg"));
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasImage());
    // The next copy is a grab again, and counted.
    QGuiApplication::clipboard()->setImage(testing_support::Grab(41, 30, qRgb(20, 130, 9)));
    form.Timer1.Tick();
    EXPECT_TRUE(testing_support::FileExists(home / "scrn000.jpg"));
    EXPECT_TRUE(status("status").endsWith(QStringLiteral("; next file scrn001.jpg; 1 grab saved")));
}

TEST(CommandLine, ReachesTheRunningCopyAndSaysWhenThereIsNone) {
    testing_support::TempHome home;
    const QByteArray display = qgetenv("DISPLAY");
    qputenv("DISPLAY", ":tallowin-command-test");
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(SendToRunningCopy("status", out, err), 3);
    std::rewind(err);
    char complaint[128] = {};
    EXPECT_TRUE(std::fgets(complaint, sizeof complaint, err) && std::strstr(complaint, "not running"))
        << complaint;
    QLocalServer server;
    ASSERT_TRUE(server.listen(QString::fromLocal8Bit(CommandSocketPath())));
    ServeCommands(server, [](const QByteArray& command) { return "heard " + command; });
    auto status = std::async(std::launch::async, [&] { return SendToRunningCopy("toggle", out, err); });
    EXPECT_EQ(Wait(status), 0);
    std::rewind(out);
    char line[64] = {};
    EXPECT_STREQ(std::fgets(line, sizeof line, out), "heard toggle\n");
    std::fclose(out);
    std::fclose(err);
    if (display.isNull())
        qunsetenv("DISPLAY");
    else
        qputenv("DISPLAY", display);
}

}  // namespace
