#include "capture/CaptureCycle.h"

#include "capture/AdvanceNumber.h"
#include "capture/OutputFormat.h"
#include "capture/ShowPreview.h"
#include "host/BackgroundWork.h"
#include "host/Clipboard.h"
#include "imaging/cDIBSection.h"

namespace {

// Up to a 4K screen, a grab is written in a few tens of milliseconds, on the spot. A larger one is
// written away from the interface thread: an 8K grab takes a third of a second, the largest ones
// seconds, and the window keeps answering meanwhile.
constexpr qint64 kWrittenOnTheSpot = qint64{3840} * 2160;

// Says a capture is under way for as long as it runs, however it ends.
class Busy {
public:
    explicit Busy(bool& flag) : flag_(flag) { flag_ = true; }
    ~Busy() { flag_ = false; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    bool& flag_;
};

}  // namespace

bool CaptureCycle::Run() {
    // While a big grab is written the interface goes on; nothing starts a second capture then.
    if (running_) return false;
    const Busy busy(running_);
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
    const QString path = state_.sTarget + QStringLiteral("\\") + state_.sFileName;
    const auto write = [&] { format.write(dib, picClip_, path); };
    // Whether on the spot or away, the next steps wait until the file is whole, and an error
    // reaches the caller here as it would from the spot.
    if (qint64{dib.Width()} * dib.Height() > kWrittenOnTheSpot)
        host::RunInBackground(write);
    else
        write();

    ShowPreview(form_.Picture1, picClip_);
    state_.sNumber = nextNumber;
    form_.Text3.SetText(state_.sNumber);
    form_.Picture1.Refresh();
    host::Clipboard::Clear();
    return true;
}
