#include "imaging/mIntelJPEGLibrary.h"

#include "host/App.h"
#include "host/Checked.h"
#include "host/HostError.h"
#include "imaging/EarlierFile.h"
#include "imaging/cDIBSection.h"
#include "platform/codec/Ijl.h"
#include "platform/files/HostPath.h"
#include "platform/files/PathMap.h"

namespace mIntelJPEGLibrary {
namespace {

constexpr int kJpegError = 26001;
constexpr int kSaveHelpContext = 48;

QString ErrorSource() { return host::App::EXEName() + QStringLiteral(".mIntelJPEGLibrary"); }

// The error names the file, and for a failed write the system's reason too.
[[noreturn]] void RaiseSaveError(int lResult, const QString& sFile) {
    host::HostError error(kJpegError, ErrorSource(),
                          QStringLiteral("Failed to save to JPG ") + QString::number(lResult),
                          kSaveHelpContext);
    error.SetDetail(SaveErrorDetail(
        sFile, lResult == platform::IJL_FILE_ERROR || lResult == platform::IJL_ERR_FILECLOSE));
    throw error;
}

// A picture wider or taller than a JPEG can be: the library's refusal, with the reason.
[[noreturn]] void RaiseTooLargeForJpeg(const cDIBSection& cDib, const QString& sFile) {
    host::HostError error(
        kJpegError, ErrorSource(),
        QStringLiteral("Failed to save to JPG ") + QString::number(platform::IJL_INVALID_JPEG_PROPERTIES),
        kSaveHelpContext);
    error.SetDetail(QStringLiteral("%1: the grab is %2 x %3 pixels, and a JPEG holds at most 65,535 pixels a "
                                   "side; choose PNG or BMP to save it")
                        .arg(sFile)
                        .arg(cDib.Width())
                        .arg(cDib.Height()));
    throw error;
}

// Releases the encoder however the call is left, errors passing through included.
class EncoderRelease {
public:
    explicit EncoderRelease(platform::JPEG_CORE_PROPERTIES& tProps) : tProps_(tProps) {}
    ~EncoderRelease() { platform::ijlFree(&tProps_); }
    EncoderRelease(const EncoderRelease&) = delete;
    EncoderRelease& operator=(const EncoderRelease&) = delete;

private:
    platform::JPEG_CORE_PROPERTIES& tProps_;
};

}  // namespace

bool SaveDibToJpeg(const cDIBSection& cDib, const QString& sFile, std::int32_t lQuality) {
    using namespace platform;
    using host::checked::Mul32;
    using host::checked::Sub32;

    // 1. The library's record, zero-filled, then its defaults and an encoder.
    JPEG_CORE_PROPERTIES tJpeg{};
    const int lInit = ijlInit(&tJpeg);
    if (lInit != IJL_OK)
        host::RaiseError(kJpegError, ErrorSource(),
                         QStringLiteral("Failed to initialise the IJL library: ") + QString::number(lInit));
    EncoderRelease tRelease(tJpeg);

    // The name as the file services and the library take it: its bytes, zero-terminated. A name
    // with a zero character in it would reach them cut short, so it is refused. Every service below
    // maps it over the same drives, so all of them reach one file.
    const std::optional<std::string> sFileBytes = NameBytes(sFile);
    if (!sFileBytes) RaiseSaveError(IJL_INVALID_FILENAME, sFile);
    const MappingScope tOneMapping;

    // 2. Remember the attributes and times of a file of that name.
    // 3. The earlier file makes way for the new one when the library renames the fully written
    //    file over it in step 7; until then it stays as it is. Like a delete, that refuses a
    //    read-only file.
    const EarlierFile tEarlier(*sFileBytes);

    // 4. The pixels: rows bottom-up (a negative height), each padded to BytesPerScanLine.
    tJpeg.DIBWidth = static_cast<DWORD>(cDib.Width());
    tJpeg.DIBHeight = Sub32(0, cDib.Height());
    tJpeg.DIBBytes = cDib.DIBSectionBitsPtr();
    tJpeg.DIBPadBytes = static_cast<DWORD>(Sub32(cDib.BytesPerScanLine(), Mul32(3, cDib.Width())));

    // 5. The file.
    tJpeg.JPGFile = sFileBytes->c_str();

    // 6. The picture's size and quality.
    tJpeg.JPGWidth = static_cast<DWORD>(cDib.Width());
    tJpeg.JPGHeight = static_cast<DWORD>(cDib.Height());
    tJpeg.jquality = static_cast<DWORD>(lQuality);

    // 7. Encode and write. A JPEG cannot state a side over 65,535 pixels: the library refuses such
    //    a picture, and the notice says why and what can hold it.
    if (tJpeg.JPGWidth > kJpegMaxSide || tJpeg.JPGHeight > kJpegMaxSide) RaiseTooLargeForJpeg(cDib, sFile);
    const int lWrite = ijlWrite(&tJpeg, IJL_JFILE_WRITEWHOLEIMAGE);
    if (lWrite != IJL_OK) RaiseSaveError(lWrite, sFile);  // the encoder is released on the way out

    // 8. Hand the earlier file's times and attributes on to the new one.
    tEarlier.HandOn();

    // 9. Done; the encoder is released on the way out.
    return true;
}

}  // namespace mIntelJPEGLibrary
