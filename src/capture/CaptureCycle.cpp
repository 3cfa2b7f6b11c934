#include "capture/CaptureCycle.h"

#include "capture/AdvanceNumber.h"
#include "capture/OutputFormat.h"
#include "capture/ShowPreview.h"
#include "host/Clipboard.h"
#include "imaging/cDIBSection.h"

bool CaptureCycle::Run() {
    picClip_ = host::Clipboard::GetData(host::Clipboard::kBitmap);
    if (picClip_.Handle() == 0) return false;
    keptPicture_.KeptNow();

    cDIBSection dib;  // released on every way out of the tick
    dib.CreateFromPicture(picClip_);

    // The next number is worked out before anything is written: a number that cannot advance
    // ("12", "1a9") stops the tick here, so the grab is not written under one name now and under
    // another at the next tick.
    QString nextNumber = state_.sNumber;
    AdvanceNumber(nextNumber);

    const OutputFormat& format = ChosenFormat(form_.Option1.Value(), form_.Option3.Value());
    state_.sFileName = state_.sName + state_.sNumber + QLatin1String(format.extension);
    format.write(dib, picClip_, state_.sTarget + QStringLiteral("\\") + state_.sFileName);

    ShowPreview(form_.Picture1, picClip_);
    state_.sNumber = nextNumber;
    form_.Text3.SetText(state_.sNumber);
    form_.Picture1.Refresh();
    host::Clipboard::Clear();
    return true;
}
