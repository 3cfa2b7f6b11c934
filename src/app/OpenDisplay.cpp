#include "app/OpenDisplay.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

bool Empty(const char* value) { return value == nullptr || *value == '\0'; }

// The toolkit's messages while it starts, kept back so a failure shows only our line.
struct HeldMessage {
    QtMsgType type;
    int line;
    const char* file;
    const char* function;
    const char* category;
    QString text;
};
std::vector<HeldMessage> held;

void HoldOrExplain(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        // The only fatal message while the application is built is the one for a platform that
        // would not start, which in practice means the display cannot be reached.
        const std::string line = NoDisplayMessage(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                                                  std::getenv("WAYLAND_DISPLAY"));
        std::fprintf(stderr, "tallowin: %s\n", line.c_str());
        std::fflush(stderr);
        std::_Exit(1);
    }
    // The context's strings are the toolkit's string literals; they outlive the replay.
    held.push_back({type, context.line, context.file, context.function, context.category, text});
}

}  // namespace

std::unique_ptr<QApplication> OpenDisplay(int& argc, char** argv) {
    const QtMessageHandler previous = qInstallMessageHandler(HoldOrExplain);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    // Started after all: the warnings on the way are shown as the toolkit would have shown them.
    for (const HeldMessage& m : held) {
        const QMessageLogContext context(m.file, m.line, m.function, m.category);
        qt_message_output(m.type, context, m.text);
    }
    held.clear();
    return app;
}

std::string NoDisplayMessage(const char* platform, const char* display, const char* waylandDisplay) {
    const std::string chosen = Empty(platform) ? "" : platform;
    if (!chosen.empty() && chosen.find("xcb") == std::string::npos)
        return "the display platform '" + chosen +
               "' that QT_QPA_PLATFORM chooses cannot start here; unset QT_QPA_PLATFORM and start Tallowin "
               "from a desktop session";
    if (!Empty(display))
        return "cannot reach the X display '" + std::string(display) +
               "' that DISPLAY names; start Tallowin from a desktop session, or set DISPLAY to a running X "
               "server you may use";
    if (!Empty(waylandDisplay))
        return "cannot reach the Wayland display '" + std::string(waylandDisplay) +
               "' that WAYLAND_DISPLAY names, and DISPLAY is not set; start Tallowin from a desktop session, "
               "and install the package qt6-wayland or turn on XWayland";
    return "no graphical display was found (DISPLAY is not set); start Tallowin from a desktop session";
}
