#include "capture/OutputFormat.h"

#include "host/SavePicture.h"
#include "imaging/mIntelJPEGLibrary.h"
#include "imaging/mPngWriter.h"

namespace {

constexpr int kJpegQuality = 90;

void WriteJpeg(const cDIBSection& dib, const host::Picture&, const QString& path) {
    mIntelJPEGLibrary::SaveDibToJpeg(dib, path, kJpegQuality);
}

void WritePng(const cDIBSection& dib, const host::Picture&, const QString& path) {
    mPngWriter::SaveDibToPng(dib, path);
}

void WriteBitmap(const cDIBSection&, const host::Picture& picture, const QString& path) {
    host::SavePicture(picture, path);
}

}  // namespace

const OutputFormat kJpegFormat{".jpg", WriteJpeg};
const OutputFormat kBitmapFormat{".bmp", WriteBitmap};
const OutputFormat kPngFormat{".png", WritePng};

const OutputFormat& ChosenFormat(bool jpgSelected, bool pngSelected) {
    if (jpgSelected) return kJpegFormat;
    return pngSelected ? kPngFormat : kBitmapFormat;
}
