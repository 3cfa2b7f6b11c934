#pragma once
// The file formats a grab can be saved in: each one's extension and writer. A new format is one
// more row in the table (and one more option on the main window).

#include <QString>

#include "host/Picture.h"
#include "imaging/cDIBSection.h"

struct OutputFormat {
    const char* extension;  // with its dot: ".jpg"
    // Writes the grab to the file named path (Windows form); errors pass to the caller.
    void (*write)(const cDIBSection& dib, const host::Picture& picture, const QString& path);
};

extern const OutputFormat kJpegFormat;    // JPEG, quality 90, from the buffer
extern const OutputFormat kBitmapFormat;  // 24-bit bitmap file, from the picture
