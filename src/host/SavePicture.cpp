#include "host/SavePicture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "host/HostError.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/HostPath.h"
#include "platform/gdi/BitmapImage.h"
#include "platform/gdi/Gdi.h"

namespace host {
namespace {

void Put16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

constexpr uint32_t kFileHeader = 14, kInfoHeader = 40;
constexpr uint32_t kPixelsPerMetre96Dpi = 3780;  // 96 / 0.0254, rounded
constexpr uint32_t kBlockBytes = 1 << 20;        // rows are written about a megabyte at a time

}  // namespace

void SavePicture(const Picture& picture, const QString& path) {
    platform::BITMAP record{};
    if (platform::GetObjectA(picture.Handle(), sizeof record, &record) == 0)
        RaiseError(kInvalidProcedureCall);
    const std::string hostPath = platform::HostPath(path);
    if (hostPath.empty()) RaiseError(kPathNotFound);

    const uint32_t width = uint32_t(record.bmWidth), height = uint32_t(record.bmHeight);
    const uint32_t stride = (width * 3 + 3) & ~3u;
    const uint64_t imageSize = uint64_t(stride) * height;
    if (imageSize > 0xFFFFFFFFull - kFileHeader - kInfoHeader) RaiseError(kOverflow);

    // The headers, then the rows bottom-up, written to the file a block of rows at a time.
    uint8_t header[kFileHeader + kInfoHeader] = {};
    header[0] = 'B';
    header[1] = 'M';
    Put32(header + 2, uint32_t(sizeof header + imageSize));
    Put32(header + 10, sizeof header);
    uint8_t* info = header + kFileHeader;
    Put32(info + 0, kInfoHeader);
    Put32(info + 4, width);
    Put32(info + 8, height);  // positive: bottom-up
    Put16(info + 12, 1);
    Put16(info + 14, 24);
    Put32(info + 20, uint32_t(imageSize));
    Put32(info + 24, kPixelsPerMetre96Dpi);
    Put32(info + 28, kPixelsPerMetre96Dpi);

    platform::AtomicFile file;
    if (!file.Open(hostPath) || !file.Write(header, sizeof header)) RaiseFileError(file.Error(), hostPath);
    const uint32_t rowsPerBlock = std::max<uint32_t>(1, kBlockBytes / std::max<uint32_t>(stride, 1));
    std::vector<uint8_t> block(size_t(std::min(rowsPerBlock, std::max<uint32_t>(height, 1))) * stride);
    for (uint32_t y = 0; y < height; y += rowsPerBlock) {
        const uint32_t rows = std::min(rowsPerBlock, height - y);
        platform::ReadBitmapRows(picture.Handle(), int32_t(y), int32_t(rows), block.data(), stride);
        if (!file.Write(block.data(), size_t(rows) * stride)) RaiseFileError(file.Error(), hostPath);
    }
    if (!file.Commit()) RaiseFileError(file.Error(), hostPath);
}

}  // namespace host
