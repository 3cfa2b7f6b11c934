#include "host/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <optional>

#include "platform/ClipboardSelection.h"

namespace host {
namespace {

// Where the clipboard stood when a bitmap was last read from it; Clear then empties only that.
std::optional<platform::ClipboardMark> readMark;

bool OffersImage(const QStringList& formats) {
    for (const QString& f : formats)
        if (f.startsWith(QLatin1String("image/")) || f == QLatin1String("application/x-qt-image"))
            return true;
    return false;
}

}  // namespace

Picture Clipboard::GetData(int format) {
    if (format != kBitmap) return Picture();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data || !OffersImage(data->formats())) return Picture();
    readMark = platform::MarkClipboard();
    // A picture that does not decode (cut short, unknown) counts as no bitmap.
    return Picture(qvariant_cast<QImage>(data->imageData()));
}

void Clipboard::Clear() {
    if (readMark)
        platform::ClearClipboard(*readMark);
    else
        platform::ClearClipboard();
    readMark.reset();
}

}  // namespace host
