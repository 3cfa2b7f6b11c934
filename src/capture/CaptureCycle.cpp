#include "capture/CaptureCycle.h"

#include "capture/AdvanceNumber.h"
#include "capture/ShowPreview.h"
#include "host/Clipboard.h"
#include "host/Globals.h"
#include "host/SavePicture.h"
#include "imaging/cDIBSection.h"
#include "imaging/mIntelJPEGLibrary.h"

namespace {
constexpr int kJpegQuality = 90;
}

void CaptureCycle::Run() {
    picClip_ = host::Clipboard::GetData(host::Clipboard::kBitmap);
    if (picClip_.Handle() == 0) return;

    cDIBSection dib;  // released on every way out of the tick
    dib.CreateFromPicture(picClip_);

    // The next number is worked out before anything is written: a number that cannot advance
    // ("12", "1a9") stops the tick here, so the grab is not written under one name now and under
    // another at the next tick.
    QString nextNumber = sNumber;
    AdvanceNumber(nextNumber);

    if (form_.Option1.Value()) {
        sFileName = sName + sNumber + QStringLiteral(".jpg");
        mIntelJPEGLibrary::SaveDibToJpeg(dib, sTarget + QStringLiteral("\\") + sFileName, kJpegQuality);
    } else {
        sFileName = sName + sNumber + QStringLiteral(".bmp");
        host::SavePicture(picClip_, sTarget + QStringLiteral("\\") + sFileName);
    }

    ShowPreview(form_.Picture1, picClip_);
    sNumber = nextNumber;
    form_.Text3.SetText(sNumber);
    form_.Picture1.Refresh();
    host::Clipboard::Clear();
}
