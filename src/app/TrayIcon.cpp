#include "app/TrayIcon.h"

#include <sys/stat.h>

#include <QDesktopServices>
#include <QLineEdit>
#include <QUrl>
#include <cerrno>

#include "app/AppIcon.h"
#include "app/Form1.h"
#include "app/RunStatus.h"
#include "app/ShowWindow.h"
#include "host/Events.h"
#include "host/HostError.h"
#include "platform/files/HostPath.h"

TrayIcon::TrayIcon(Form1& form)
    : form_(form),
      watching_(AppIcon()),
      paused_(PausedIcon()),
      pause_(menu_.addAction(QStringLiteral("Pause"))),
      openTarget_(menu_.addAction(QStringLiteral("Open target folder"))),
      showWindow_(menu_.addAction(QStringLiteral("Show window"))),
      exit_((menu_.addSeparator(), menu_.addAction(QStringLiteral("Exit")))) {
    // Each runs as the event handler it is, as a click on the window's own controls does.
    QObject::connect(pause_, &QAction::triggered, &menu_,
                     [this] { host::RunEvent([this] { form_.Watch.Toggle(); }); });
    QObject::connect(openTarget_, &QAction::triggered, &menu_,
                     [this] { host::RunEvent([this] { OpenTargetFolder(form_); }); });
    QObject::connect(showWindow_, &QAction::triggered, &menu_, [] { host::RunEvent(ShowMainWindow); });
    // Exactly what the EXIT button does: the settings are written.
    QObject::connect(exit_, &QAction::triggered, &menu_,
                     [this] { host::RunEvent([this] { form_.Exit.Click(); }); });
    QObject::connect(&icon_, &QSystemTrayIcon::activated, &menu_,
                     [this](QSystemTrayIcon::ActivationReason why) {
                         if (why == QSystemTrayIcon::Trigger)
                             host::RunEvent([this] { form_.Watch.Toggle(); });
                     });
    QObject::connect(&form_.Watch, &Watching::Changed, &menu_, [this] { Update(); });
    // Queued: the target follows the field only once the field's own handler has run.
    QObject::connect(
        form_.Text1.Edit(), &QLineEdit::textChanged, &menu_, [this] { Update(); }, Qt::QueuedConnection);
    icon_.setContextMenu(&menu_);
    Update();
    icon_.show();
}

void TrayIcon::Update() {
    const bool paused = form_.Watch.Paused();
    icon_.setIcon(paused ? paused_ : watching_);
    pause_->setText(paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
    icon_.setToolTip(QStringLiteral("Tallowin: ") + StateWord(form_) + QStringLiteral("\nTarget: ") +
                     TargetText(form_) + QStringLiteral("\n") + GrabsSavedText(form_));
}

void OpenTargetFolder(const Form1& form) {
    const std::string folder = platform::HostPath(form.State.sTarget);
    int why = ENOENT;
    struct stat st {};
    if (!folder.empty()) why = ::stat(folder.c_str(), &st) != 0 ? errno : S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    if (why != 0)
        host::RaiseErrorWithDetail(
            host::kPathNotFound,
            host::FileErrorDetail(folder.empty() ? platform::TextBytes(form.State.sTarget) : folder, why));
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(platform::BytesText(folder))))
        host::RaiseErrorWithDetail(
            host::kPathFileAccessError,
            platform::BytesText(folder) + QStringLiteral(": no file manager could show it"));
}
