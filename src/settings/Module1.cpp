#include "settings/Module1.h"

#include "host/Checked.h"
#include "host/CurDir.h"
#include "host/HostError.h"
#include "host/TextFile.h"

namespace {

constexpr int kFile = 1;

QString SettingsPath(const host::ProgramState& state) {
    return state.sAppDir + QStringLiteral("\\Tallowin.INI");
}

}  // namespace

void LoadSettings(host::Form& form, host::ProgramState& state) {
    state.sAppDir = host::CurDir();
    if (state.sAppDir.isEmpty()) host::RaiseError(host::kPathNotFound);

    try {
        host::TextFile::OpenForInput(kFile, SettingsPath(state));
        iLeft = host::TextFile::InputInteger(kFile);
        iTop = host::TextFile::InputInteger(kFile);
        state.sTarget = host::TextFile::InputString(kFile);
        state.sName = host::TextFile::InputString(kFile);
        state.sNumber = host::TextFile::InputString(kFile);
        form.SetLeft(iLeft);
        form.SetTop(iTop);
        host::TextFile::Close(kFile);
    } catch (const host::HostError&) {
        host::TextFile::Close(kFile);
        form.SetLeft(200);
        form.SetTop(200);
        state.sTarget = QStringLiteral("C:\\");
        state.sName = QStringLiteral("scrn");
        state.sNumber = QStringLiteral("000");
    }
}

void SaveSettings(host::Form& form, const host::ProgramState& state) {
    // The position is rounded (and range-checked) before the file is opened, so a window beyond
    // the stored range leaves the earlier file untouched.
    const int16_t left = host::checked::CInt(form.Left());
    const int16_t top = host::checked::CInt(form.Top());
    host::TextFile::OpenForOutput(kFile, SettingsPath(state));
    iLeft = left;
    iTop = top;
    host::TextFile::WriteInteger(kFile, iLeft);
    host::TextFile::WriteInteger(kFile, iTop);
    host::TextFile::WriteString(kFile, state.sTarget);
    host::TextFile::WriteString(kFile, state.sName);
    host::TextFile::WriteString(kFile, state.sNumber);
    host::TextFile::Close(kFile);
}
