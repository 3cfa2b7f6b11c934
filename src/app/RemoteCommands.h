#pragma once
// Commands to the running copy, over the socket it listens on for this user and display
// (SingleInstance.h): a later start asks it to show its window, and `tallowin --pause`, `--resume`,
// `--toggle` and `--status` reach it from a terminal or a desktop shortcut. A command is one line;
// the answer, where there is one, is one line too.
//
// The running copy answers only its own user, by the peer's uid that the socket itself reports, and
// reads at most one short line, which has to arrive within kCommandPatience: a stranger or a client
// that sends nothing can neither command nor hold up the window.

#include <QByteArray>
#include <chrono>
#include <cstdio>
#include <functional>

class QLocalServer;

inline constexpr int kMaxCommandLine = 64;  // bytes, with its line end
inline constexpr std::chrono::milliseconds kCommandPatience{2000};
// The most clients served at once; more are turned away until one is done.
inline constexpr int kMostClients = 8;

// The running copy's side: every connection to `server` is heard out and its line handed to
// `answer` (as an event handler, see host::RunEvent); a non-empty answer is written back.
using CommandAnswer = std::function<QByteArray(const QByteArray& command)>;
void ServeCommands(QLocalServer& server, CommandAnswer answer);

// What the main window does for a command: "raise" shows it and answers nothing; "pause",
// "resume" and "toggle" change the state and answer the status line, as "status" does. Anything
// else answers nothing.
QByteArray AnswerCommand(const QByteArray& command);

// The command line's side: sends `command` to the copy running for this user and display and
// writes its answer to `out`. Returns the exit status: 0 when it answered, 3 when no copy runs and
// 1 when it did not answer in time (each said on `err`).
int SendToRunningCopy(const char* command, std::FILE* out, std::FILE* err);
