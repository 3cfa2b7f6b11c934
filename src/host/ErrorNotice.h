#pragma once
// The host's handling of an error that no procedure caught: the program keeps running, the error is
// written to standard error with a time stamp, and one small non-modal window by the main window
// shows it. A later error replaces the text in the same window; nothing ever waits for the user.
// The same error again (a grab that still cannot be saved, tick after tick) is written to standard
// error once; once the work succeeds again the notice goes away.

#include <QPointer>
#include <QString>

class QWidget;
class QLabel;

namespace host {

class HostError;

class ErrorNotice {
public:
    // Shows (or updates) the notice for this error.
    static void Show(const HostError& error);
    // The work that failed has succeeded (`what` says how): the notice closes, and standard error
    // hears of it when an error was shown.
    static void Resolved(const QString& what);
    // The window the notice sits by; usually the main window.
    static void SetAnchor(QWidget* window);
    // The text shown now, empty when no notice is open.
    static QString CurrentText();
    // The notice window, or null.
    static QWidget* Window();
    // "Run-time error '76':\n\nPath not found", then the detail on a line of its own.
    static QString TextFor(const HostError& error);
};

}  // namespace host
