#include "app/RunStatus.h"

#include "app/Form1.h"
#include "capture/OutputFormat.h"
#include "platform/files/HostPath.h"

QString StateWord(const Form1& form) {
    return form.Watch.Paused() ? QStringLiteral("paused") : QStringLiteral("watching");
}

QString TargetText(const Form1& form) {
    const QString folder = platform::BytesText(platform::HostPath(form.State.sTarget));
    if (folder.isEmpty() || folder == form.State.sTarget) return form.State.sTarget;
    return form.State.sTarget + QStringLiteral(" (") + folder + QStringLiteral(")");
}

QString NextFileName(const Form1& form) {
    const OutputFormat& format = ChosenFormat(form.Option1.Value(), form.Option3.Value());
    return form.State.sName + form.State.sNumber + QLatin1String(format.extension);
}

QString GrabsSavedText(const Form1& form) {
    const int saved = form.Watch.GrabsSaved();
    return QStringLiteral("%1 %2 saved").arg(saved).arg(saved == 1 ? "grab" : "grabs");
}

QString StatusLine(const Form1& form) {
    return StateWord(form) + QStringLiteral("; target ") + TargetText(form) + QStringLiteral("; next file ") +
           NextFileName(form) + QStringLiteral("; ") + GrabsSavedText(form);
}
