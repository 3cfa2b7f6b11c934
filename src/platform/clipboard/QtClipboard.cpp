#include "platform/clipboard/QtClipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

namespace platform {
namespace {

constexpr char kImageType[] = "image/bmp";

QClipboard* Clipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard()
                                                                        : nullptr;
}

bool OffersImageType(const QStringList& formats) {
    for (const QString& format : formats)
        if (format.startsWith(QLatin1String("image/"))) return true;
    return false;
}

}  // namespace

QtClipboard::QtClipboard() : context_(std::make_unique<QObject>()) {}

QtClipboard::~QtClipboard() = default;

void QtClipboard::Start(Listener listener) {
    listener_ = std::move(listener);
    if (QClipboard* clipboard = Clipboard())
        QObject::connect(clipboard, &QClipboard::dataChanged, context_.get(), [this] { Announce(); });
    Announce();
}

void QtClipboard::Announce() {
    QClipboard* clipboard = Clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || (data->formats().isEmpty() && !data->hasImage())) {
        current_ = ClipboardMark();
        return listener_(current_, {});
    }
    current_ = ClipboardMark(++changes_);
    std::vector<std::string> types;
    const QStringList formats = data->formats();
    for (const QString& format : formats) types.push_back(format.toStdString());
    // A picture set as an image object (no encoded form) is offered as a bitmap file.
    if (data->hasImage() && !OffersImageType(formats)) types.push_back(kImageType);
    listener_(current_, types);
}

FetchResult QtClipboard::Fetch(ClipboardMark mark, const std::string& type, PixelBytes& bytes) {
    bytes.clear();
    QClipboard* clipboard = Clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (mark != current_ || !data) return FetchResult::kChanged;
    QByteArray encoded;
    const QString format = QString::fromStdString(type);
    if (data->hasFormat(format)) {
        encoded = data->data(format);
    } else if (type == kImageType && data->hasImage()) {
        QBuffer buffer(&encoded);
        buffer.open(QIODevice::WriteOnly);
        qvariant_cast<QImage>(data->imageData()).save(&buffer, "BMP");
    }
    if (encoded.isEmpty()) return FetchResult::kRefused;
    bytes.append(reinterpret_cast<const std::uint8_t*>(encoded.constData()), std::size_t(encoded.size()));
    return FetchResult::kDone;
}

void QtClipboard::Clear(ClipboardMark mark) {
    if (mark == current_ && !mark.IsEmpty()) ClearAll();
}

void QtClipboard::ClearAll() {
    if (QClipboard* clipboard = Clipboard()) clipboard->clear();
}

}  // namespace platform
