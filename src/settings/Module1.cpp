#include "settings/Module1.h"

#include "host/Checked.h"
#include "host/Globals.h"
#include "host/HostError.h"
#include "host/TextFile.h"
#include "platform/PathMap.h"

namespace {

constexpr int kFile = 1;

QString SettingsPath() { return sAppDir + QStringLiteral("\\Tallowin.INI"); }

}  // namespace

void LoadSettings(host::Form& form) {
    sAppDir = QString::fromStdString(platform::CurrentDirectory());
    if (sAppDir.isEmpty()) host::RaiseError(host::kPathNotFound);

    try {
        host::TextFile::OpenForInput(kFile, SettingsPath());
        iLeft = host::TextFile::InputInteger(kFile);
        iTop = host::TextFile::InputInteger(kFile);
        sTarget = host::TextFile::InputString(kFile);
        sName = host::TextFile::InputString(kFile);
        sNumber = host::TextFile::InputString(kFile);
        form.SetLeft(iLeft);
        form.SetTop(iTop);
        host::TextFile::Close(kFile);
    } catch (const host::HostError&) {
        host::TextFile::Close(kFile);
        form.SetLeft(200);
        form.SetTop(200);
        sTarget = QStringLiteral("C:\\");
        sName = QStringLiteral("scrn");
        sNumber = QStringLiteral("000");
    }
}

void SaveSettings(host::Form& form) {
    // The position is rounded (and range-checked) before the file is opened, so a window beyond
    // the stored range leaves the earlier file untouched.
    const int16_t left = host::checked::CInt(form.Left());
    const int16_t top = host::checked::CInt(form.Top());
    host::TextFile::OpenForOutput(kFile, SettingsPath());
    iLeft = left;
    iTop = top;
    host::TextFile::WriteInteger(kFile, iLeft);
    host::TextFile::WriteInteger(kFile, iTop);
    host::TextFile::WriteString(kFile, sTarget);
    host::TextFile::WriteString(kFile, sName);
    host::TextFile::WriteString(kFile, sNumber);
    host::TextFile::Close(kFile);
}
