#include "imaging/mPngWriter.h"

#include "host/App.h"
#include "host/HostError.h"
#include "imaging/EarlierFile.h"
#include "imaging/cDIBSection.h"
#include "platform/codec/PngWriter.h"
#include "platform/files/HostPath.h"
#include "platform/files/PathMap.h"

namespace mPngWriter {
namespace {

constexpr int kPngError = 26002;

[[noreturn]] void RaiseSaveError(platform::PngResult lResult, const QString& sFile) {
    host::HostError error(kPngError, host::App::EXEName() + QStringLiteral(".mPngWriter"),
                          QStringLiteral("Failed to save to PNG ") + QString::number(int(lResult)));
    error.SetDetail(SaveErrorDetail(
        sFile, lResult == platform::PngResult::kWriteFailed || lResult == platform::PngResult::kCloseFailed));
    throw error;
}

}  // namespace

bool SaveDibToPng(const cDIBSection& cDib, const QString& sFile) {
    using platform::PngResult;

    // The name's bytes, mapped over the same drives by every service below (see SaveDibToJpeg).
    const std::optional<std::string> sFileBytes = platform::NameBytes(sFile);
    if (!sFileBytes) RaiseSaveError(PngResult::kInvalidFileName, sFile);
    const platform::MappingScope tOneMapping;

    // The earlier file's times and attributes; a read-only one is refused.
    const EarlierFile tEarlier(*sFileBytes);

    // The buffer's rows as they lie: bottom-up, padded to BytesPerScanLine. A buffer without
    // pixels has no bits, which the writer refuses.
    platform::PngPicture tPicture;
    tPicture.bits = cDib.DIBSectionBitsPtr();
    tPicture.width = cDib.Width() > 0 ? static_cast<std::uint32_t>(cDib.Width()) : 0;
    tPicture.height = cDib.Height() > 0 ? static_cast<std::uint32_t>(cDib.Height()) : 0;
    tPicture.pitch = tPicture.width ? static_cast<std::size_t>(cDib.BytesPerScanLine()) : 0;
    tPicture.bottomUp = true;

    const PngResult lWrite = platform::WritePng(tPicture, sFileBytes->c_str());
    if (lWrite != PngResult::kOk) RaiseSaveError(lWrite, sFile);

    tEarlier.HandOn();
    return true;
}

}  // namespace mPngWriter
