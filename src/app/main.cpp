// Tallowin: builds the main window and runs the event loop.
#include <QApplication>
#include <cstdio>

#include "app/AppIcon.h"
#include "app/CommandLine.h"
#include "app/Form1.h"
#include "app/OpenDisplay.h"
#include "app/SingleInstance.h"
#include "app/TrayIcon.h"
#include "host/Clipboard.h"
#include "host/ErrorNotice.h"
#include "host/Events.h"

int main(int argc, char** argv) {
    if (const auto status = AnswerCommandLine(argc, argv, stdout, stderr)) return *status;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            std::fprintf(stderr, "tallowin: %s\n", NoDisplayMessage(nullptr, nullptr, nullptr).c_str());
            return 1;
        }
        // Where XWayland is there too, the window is shown through it; the clipboard is read by a
        // backend of its own either way.
        if (!qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "xcb");
    }
    const auto app = OpenDisplay(argc, argv);
    if (HandOverToRunningCopy()) return 0;
    app->setWindowIcon(AppIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tallowin.Tallowin"));
    QString whyNot;
    if (!host::Clipboard::Open(&whyNot)) {
        std::fprintf(stderr, "%s\n", qPrintable(whyNot));
        return 1;
    }

    Form1 form;
    host::ErrorNotice::SetAnchor(&form);
    host::RunEvent([&form] { form.Form_Load(); });
    form.Show();
    form.Text1.SetFocus();
    TrayIcon tray(form);
    const int code = app->exec();
    host::Clipboard::Close();
    return code;
}
