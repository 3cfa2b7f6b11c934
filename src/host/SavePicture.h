#pragma once
// Writes a picture as a Windows bitmap file: BITMAPFILEHEADER, a 40-byte BITMAPINFOHEADER, 24 bits
// a pixel, bottom-up rows padded to 4 bytes, 96 dpi. The file takes the place of an earlier one
// only once every byte is written; failures raise host errors (Path not found, Permission denied,
// Disk full, ...) and leave any earlier file as it was.

#include <QString>

#include "host/Picture.h"

namespace host {

void SavePicture(const Picture& picture, const QString& path);

}  // namespace host
