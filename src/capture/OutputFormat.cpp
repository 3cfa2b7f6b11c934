#include "capture/OutputFormat.h"

#include "host/SavePicture.h"
#include "imaging/mIntelJPEGLibrary.h"

namespace {

constexpr int kJpegQuality = 90;

void WriteJpeg(const cDIBSection& dib, const host::Picture&, const QString& path) {
    mIntelJPEGLibrary::SaveDibToJpeg(dib, path, kJpegQuality);
}

void WriteBitmap(const cDIBSection&, const host::Picture& picture, const QString& path) {
    host::SavePicture(picture, path);
}

}  // namespace

const OutputFormat kJpegFormat{".jpg", WriteJpeg};
const OutputFormat kBitmapFormat{".bmp", WriteBitmap};
