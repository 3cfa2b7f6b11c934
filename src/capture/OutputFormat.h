#pragma once
// The file formats a grab can be saved in: each one's extension and writer. A new format is one
// more row in the table, one more option on the main window, and its place in ChosenFormat.

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
extern const OutputFormat kPngFormat;     // 8-bit RGB PNG, from the buffer

// The format the option buttons choose: JPEG while "JPG" is selected, PNG while "PNG" is, else
// the bitmap file ("BMP" itself is read by nobody).
const OutputFormat& ChosenFormat(bool jpgSelected, bool pngSelected);
