#pragma once
// mPngWriter: writes the picture of a cDIBSection to a PNG file through our PNG writer
// (platform/codec/PngWriter.h), the way mIntelJPEGLibrary writes a JPEG file.

#include <QString>

class cDIBSection;

namespace mPngWriter {

// Writes cDib to the file sFile (a Windows-form name), losslessly. An existing file of that name
// is replaced only once the new picture has been written whole; it then hands its last-access and
// last-write times and its attributes on to the new file. A read-only file is not replaced.
//
// Returns true. Failures are raised: error 26002 from "<exe>.mPngWriter" with "Failed to save to
// PNG <code>", the writer's code in decimal (the JPEG library's numbers for the same failures); the
// host's "Path/File access error" for a read-only file of that name.
bool SaveDibToPng(const cDIBSection& cDib, const QString& sFile);

}  // namespace mPngWriter
